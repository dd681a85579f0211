#!/usr/bin/env bash
# Checks the Debian package `make package` built: its files unpacked into a scratch root, lintian, the
# desktop entry, AppStream data, man pages and shell completion; then installs it with apt, runs the
# installed programs, purges it and checks that nothing is left behind. Needs root (or sudo) for apt.
set -euo pipefail

deb=$(realpath "${1:?usage: check-package.sh velarix_VERSION_ARCH.deb}")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
installed=""
cleanup() {
    # A check that failed after installing leaves the machine as it found it.
    # shellcheck disable=SC2086
    [[ -z $installed ]] || $sudo apt-get purge -y -q $installed >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "package check: $*" >&2
    exit 1
}
step() { echo "== $*"; }

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
version=$(dpkg-deb -f "$deb" Version)
package=$(dpkg-deb -f "$deb" Package)
[[ $package == velarix ]] || fail "the package is named '$package', not velarix"

step "contents of $(basename "$deb")"
dpkg-deb -c "$deb" | awk '{ print $1, $6 }'
root=$work/root
dpkg -x "$deb" "$root"
share=$root/usr/share
for file in usr/bin/velarix usr/bin/velarix-cli \
    usr/share/applications/app.tarnwick.Velarix.desktop \
    usr/share/metainfo/app.tarnwick.Velarix.metainfo.xml \
    usr/share/mime/packages/app.tarnwick.Velarix.xml \
    usr/share/icons/hicolor/scalable/apps/app.tarnwick.Velarix.svg \
    usr/share/icons/hicolor/48x48/apps/app.tarnwick.Velarix.png \
    usr/share/man/man1/velarix.1.gz usr/share/man/man1/velarix-cli.1.gz \
    usr/share/bash-completion/completions/velarix usr/share/bash-completion/completions/velarix-cli \
    usr/share/zsh/vendor-completions/_velarix \
    usr/share/velarix/translations/velarix_de.qm usr/share/velarix/translations/velarix_fr.qm \
    usr/share/doc/velarix/copyright usr/share/doc/velarix/changelog.gz; do
    [[ -f $root/$file ]] || fail "/$file is missing"
done
[[ -x $root/usr/bin/velarix && -x $root/usr/bin/velarix-cli ]] || fail "the programs are not executable"
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[[ -z $outside ]] || fail "files outside /usr: $outside"
for png in "$share"/icons/hicolor/*/apps/*.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    file -b "$png" | grep -q "^PNG image data, ${size%x*} x ${size#*x}," ||
        fail "${png#"$root"} is not $size: $(file -b "$png")"
done

step "one version everywhere: $version"
cli_version=$("$root/usr/bin/velarix-cli" --version)
[[ $cli_version == "velarix-cli $version" ]] || fail "velarix-cli --version says '$cli_version'"
# The application must answer without a display.
app_version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/velarix" --version)
[[ $app_version == "Velarix $version" ]] || fail "velarix --version says '$app_version'"
metainfo=$share/metainfo/app.tarnwick.Velarix.metainfo.xml
grep -q "<release version=\"$version\" date=\"[0-9-]*\"" "$metainfo" ||
    fail "the AppStream data has no release $version"
zcat "$share/doc/velarix/changelog.gz" | head -n 1 | grep -q "^velarix ($version) " ||
    fail "the changelog does not start with $version"

step "desktop entry, MIME declaration, AppStream data"
desktop=$share/applications/app.tarnwick.Velarix.desktop
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$metainfo"
mime=$share/mime/packages/app.tarnwick.Velarix.xml
grep -q 'pattern="\*\.360"' "$mime" || fail "the MIME declaration does not name *.360"
type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime")
sed -n 's/^MimeType=//p' "$desktop" | tr ';' '\n' | grep -qxF "$type" ||
    fail "the desktop entry's MimeType lacks $type, the type of .360 files"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[[ -f $share/icons/hicolor/scalable/apps/$icon.svg ]] || fail "no icon named $icon"
exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[[ -x $root/usr/bin/$exec ]] || fail "the desktop entry runs '$exec', which the package lacks"
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" ||
    fail "the AppStream data does not launch $(basename "$desktop")"

step "lintian"
lintian --fail-on error,warning "$deb"

step "man pages"
for program in velarix velarix-cli; do
    page=$share/man/man1/$program.1.gz
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "man reports for $program(1): $warnings"
    text=$(LC_ALL=C MANWIDTH=200 man -l "$page" 2>/dev/null | col -b)
    grep -qi "$program $version" <<<"$text" || fail "$program(1) is not the page of version $version"
    # Every option --help names is in the page, which help2man made from it.
    for option in $("$root/usr/bin/$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
        grep -qF -- "$option" <<<"$text" || fail "$program(1) does not mention $option"
    done
done

step "shell completion"
PATH=$root/usr/bin:$PATH bash "$here/check-completion.sh" "$share/bash-completion/completions" "$work"
zsh -n "$share/zsh/vendor-completions/_velarix" || fail "the zsh completion does not parse"
PATH=$root/usr/bin:$PATH zsh "$here/check-zsh-completion.zsh" "$share/zsh/vendor-completions" "$work"

step "apt-get install ./$(basename "$deb")"
if dpkg-query -W -f='${Status}' velarix 2>/dev/null | grep -q "install ok installed"; then
    fail "velarix is installed already; remove it first (apt-get purge velarix)"
fi
installed_packages() { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" { print $2 }' | sort; }
tree() { find /usr /etc -xdev 2>/dev/null | sort; }
installed_packages >"$work/packages.before"
tree >"$work/tree.before"
installed=velarix
(cd "$(dirname "$deb")" && $sudo apt-get install -y -q "./$(basename "$deb")")
dpkg -L velarix >"$work/velarix.list"
added=$(comm -13 "$work/packages.before" <(installed_packages) | grep -vx velarix || true)
installed="velarix $added"
[[ -z $added ]] || echo "apt also installed: ${added//$'\n'/ }"

step "the installed programs"
[[ $(/usr/bin/velarix-cli --version) == "velarix-cli $version" ]] || fail "installed velarix-cli --version"
[[ $(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/velarix --version) == "Velarix $version" ]] ||
    fail "installed velarix --version"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
# The installed translations are found: a usage error's hint in French and German.
[[ $(LANGUAGE=fr velarix-cli --bogus 2>&1 || true) == *"Voir 'velarix-cli --help'."* ]] ||
    fail "velarix-cli does not speak French with the installed translations"
[[ $(LANGUAGE=de velarix-cli --bogus 2>&1 || true) == *"Siehe 'velarix-cli --help'."* ]] ||
    fail "velarix-cli does not speak German with the installed translations"
(cd / && velarix-cli --json demo "$work/card")
card=$(find "$work/card" -mindepth 1 -maxdepth 1 -type d)
clips=$(find "$card/DCIM" -type f -name '*.MP4' -printf '%f\n' | sort)
[[ -n $clips ]] || fail "velarix-cli demo made no video"
# The history store (Qt's SQLite plugin) and FFmpeg at work: scan lists the card's videos with durations.
scanned=$(velarix-cli --json scan --card "$card")
[[ $(jq -r '.videos[].file' <<<"$scanned" | sort) == "$clips" ]] || fail "scan lists other videos: $scanned"
jq -e 'all(.videos[]; .duration > 0)' <<<"$scanned" >/dev/null || fail "scan found no durations: $scanned"
clip=$(find "$card/DCIM" -type f -name '*.MP4' | sort | head -n 1)
velarix-cli --json analyze "$clip" | jq -e '.duration > 0' >/dev/null || fail "analyze failed on $clip"
velarix-cli --json trim --range 5-15 "$clip"
duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$clip")
awk -v d="$duration" 'BEGIN { exit !(d > 9.5 && d < 10.5) }' || fail "the trimmed clip lasts $duration s, not 10 s"
[[ $(man -w velarix-cli) == /usr/share/man/man1/velarix-cli.1.gz ]] || fail "man does not find velarix-cli(1)"
desktop-file-validate /usr/share/applications/app.tarnwick.Velarix.desktop
appstreamcli validate --no-net /usr/share/metainfo/app.tarnwick.Velarix.metainfo.xml
if [[ -f /usr/share/mime/globs2 ]]; then
    grep -q ':video/mp4:\*\.360$' /usr/share/mime/globs2 || fail "the MIME database does not know *.360"
fi

step "apt-get purge velarix"
# shellcheck disable=SC2086
$sudo apt-get purge -y -q $installed
installed=""
if dpkg-query -W -f='${Status}' velarix 2>/dev/null | grep -qv "not-installed"; then
    fail "velarix is still known to dpkg: $(dpkg-query -W -f='${Status}' velarix)"
fi
while read -r path; do
    if [[ -e $path || -L $path ]] && ! grep -qxF "$path" "$work/tree.before"; then
        fail "$path is left behind"
    fi
done <"$work/velarix.list"
left=$(comm -13 "$work/tree.before" <(tree))
[[ -z $left ]] || fail "left behind in /usr or /etc:"$'\n'"$left"
echo "package check: $(basename "$deb") passed"
