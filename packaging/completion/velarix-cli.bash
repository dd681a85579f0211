# bash completion for velarix-cli                          -*- shell-script -*-

# The mounted camera cards' paths, as velarix-cli finds them (the second of its tab-separated columns);
# any folder when no card matches what is typed.
_velarix_cli_cards()
{
    local IFS=$'\n'
    local cards
    cards=$(velarix-cli cards 2>/dev/null | awk -F'\t' 'NF >= 4 { print $2 }')
    COMPREPLY=($(compgen -W "$cards" -- "$cur"))
    if ((${#COMPREPLY[@]})); then
        compopt -o filenames
    else
        _filedir -d
    fi
}

_velarix_cli()
{
    local cur prev words cword
    _init_completion || return

    local command="" i
    for ((i = 1; i < cword; i++)); do
        if [[ ${words[i]} != -* ]]; then
            command=${words[i]}
            break
        fi
    done

    if [[ $command == demo ]]; then
        case $prev in
            --jump)
                _filedir 'mp4'
                return
                ;;
            --seconds | --exit | --opening)
                return
                ;;
            --audio)
                COMPREPLY=($(compgen -W 'wind silent muffled music none' -- "$cur"))
                return
                ;;
        esac
    fi

    case $prev in
        --card)
            _velarix_cli_cards
            return
            ;;
        --dest)
            _filedir -d
            return
            ;;
        --pattern | --jump | --name | --range)
            return
            ;;
    esac

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--json --help --version' -- "$cur"))
        else
            COMPREPLY=($(compgen -W 'analyze cards demo history import jumps plan scan trim' -- "$cur"))
        fi
        return
    fi

    local selection='--all --new'
    local overrides='--pattern --jump --autogroup --no-autogroup --name --join --no-join --sidecars --no-sidecars --proxies --no-proxies'
    local options
    case $command in
        cards) options='' ;;
        demo) options='--jump --seconds --exit --opening --audio --no-gps --no-accelerometer' ;;
        scan) options='--card' ;;
        plan) options="--card $selection $overrides" ;;
        import) options="--card $selection $overrides --dest --no-verify --trim --trust-suggestions --keep-original --no-keep-original" ;;
        history) options='--card --clear' ;;
        jumps) options='--date' ;;
        analyze) options='--levels' ;;
        trim) options='--range --dry-run --trust-suggestions --keep-original --no-keep-original' ;;
        *) return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options --json --help" -- "$cur"))
        return
    fi
    # trim takes only MP4, MOV and 360 (.360, .insv) videos; analyze reads any video FFmpeg opens. A recording in
    # chapters is named by its first chapter (GX010042.MP4), which brings the others.
    case $command in
        analyze) _filedir 'mp4|m4v|mov|360' ;;
        trim) _filedir 'mp4|mov|360|insv' ;;
        demo) _filedir -d ;;
    esac
} &&
    complete -F _velarix_cli velarix-cli

# ex: filetype=sh
