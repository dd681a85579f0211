# Sourced by the end-to-end scripts: runs a program as the ordinary user $user (home $home, runtime
# folder $runtime) with a clean environment. Under the sanitizer build its options go along, with a
# copy of the leak suppressions in $work that the user can read.
sanitizer_env=()
for name in ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS; do
    value=${!name:-}
    [[ -n $value ]] || continue
    if [[ $value =~ suppressions=([^:]+) ]]; then
        install -m 0644 "${BASH_REMATCH[1]}" "$work/lsan.supp"
        value=${value/${BASH_REMATCH[1]}/$work/lsan.supp}
    fi
    sanitizer_env+=("$name=$value")
done

as_user() {
    runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="$home" USER="$user" LANG=C.UTF-8 \
        XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen \
        QT_LOGGING_RULES="app.tarnwick.Velarix.App.debug=false" ${sanitizer_env[@]+"${sanitizer_env[@]}"} "$@"
}
