# bash completion for velarix                              -*- shell-script -*-

_velarix()
{
    local cur prev words cword
    _init_completion || return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--background --help --help-all --version' -- "$cur"))
        return
    fi
    # The files it opens go to the trimming window, which takes MP4 and .360 videos.
    _filedir 'mp4|360'
} &&
    complete -F _velarix velarix

# ex: filetype=sh
