#!/usr/bin/env bash
# Drives the bash completion of velarix-cli and velarix the way bash-completion does on Tab, and checks
# it against the programs' own --help: every command, every option of each command, video files only
# for analyze and trim, and the mounted cards' paths after --card.
# Usage: check-completion.sh COMPLETIONS_DIR SCRATCH_DIR, with velarix-cli on PATH.
set -uo pipefail

completions=${1:?usage: check-completion.sh COMPLETIONS_DIR SCRATCH_DIR}
scratch=$(mktemp -d "${2:?usage: check-completion.sh COMPLETIONS_DIR SCRATCH_DIR}/completion.XXXX")
# shellcheck source=/dev/null
source /usr/share/bash-completion/bash_completion
# shellcheck source=/dev/null
source "$completions/velarix-cli"
# shellcheck source=/dev/null
source "$completions/velarix"

failures=0
fail() {
    echo "completion: $*" >&2
    failures=$((failures + 1))
}

# The candidates offered for the last word, one a line, sorted.
complete_words() {
    local function=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    "$function" "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
    if ((${#COMPREPLY[@]})); then printf '%s\n' "${COMPREPLY[@]}" | sort; fi
}

expect_same() { # what, expected, offered
    [[ $2 == "$3" ]] || fail "$1: expected [${2//$'\n'/ }], offered [${3//$'\n'/ }]"
}

expect_within() { # what, needed, offered
    local word
    for word in $2; do
        grep -qxF -- "$word" <<<"$3" || fail "$1: $word is not offered"
    done
}

help=$(velarix-cli --help)
# The lines of one section of the main help, up to the next blank line.
section() { awk -v title="$1" 'index($0, title) == 1 { on = 1; next } on && /^$/ { exit } on' <<<"$help"; }

# A command's line starts two spaces in; a description that wraps is indented further.
commands=$(section "Commands:" | awk '/^  [^ ]/ { print $1 }' | sort)
[[ -n $commands ]] || fail "velarix-cli --help lists no commands"
expect_same "velarix-cli <Tab>" "$commands" "$(complete_words _velarix_cli velarix-cli '')"
expect_same "velarix-cli --json <Tab>" "$commands" "$(complete_words _velarix_cli velarix-cli --json '')"
expect_within "velarix-cli --<Tab>" "--json --help --version" "$(complete_words _velarix_cli velarix-cli --)"

selection=$(section "SELECTION" | grep -o -- '--[a-z-]*')
overrides=$(section "OVERRIDES" | grep -o -- '--[a-z-]*')
for command in $commands; do
    synopsis=$(velarix-cli "$command" --help | head -n 1)
    needed=$(grep -o -- '--[a-z-]*' <<<"$synopsis")
    [[ $synopsis == *"[SELECTION]"* ]] && needed+=" $selection"
    [[ $synopsis == *"[OVERRIDES]"* ]] && needed+=" $overrides"
    # Options the main help gives to this command ("--dest DIR   import: ...").
    needed+=" $(section "Options:" | awk -v c="$command:" '$0 ~ "^ +--" { for (i = 2; i <= NF; i++) if ($i == c) print $1 }')"
    # shellcheck disable=SC2086 # one option a word
    needed=$(printf '%s\n' $needed --json | sort -u)
    expect_within "velarix-cli $command --<Tab>" "$needed" \
        "$(complete_words _velarix_cli velarix-cli "$command" --)"
done

# Files: videos (and folders to walk into) for analyze, the MP4, MOV and 360 ones trim takes; folders for demo.
mkdir -p "$scratch/files/sub folder" && cd "$scratch/files" || exit 1
touch a.mp4 B.MP4 c.360 d.MOV notes.txt photo.JPG
expect_same "velarix-cli trim <Tab>" "$(printf '%s\n' B.MP4 a.mp4 c.360 d.MOV 'sub folder' | sort)" \
    "$(complete_words _velarix_cli velarix-cli trim '')"
expect_same "velarix-cli --json analyze --levels <Tab>" "$(printf '%s\n' B.MP4 a.mp4 c.360 d.MOV 'sub folder' | sort)" \
    "$(complete_words _velarix_cli velarix-cli --json analyze --levels '')"
expect_same "velarix-cli demo <Tab>" "sub folder" "$(complete_words _velarix_cli velarix-cli demo '')"
expect_same "velarix <Tab>" "$(printf '%s\n' B.MP4 a.mp4 c.360 'sub folder' | sort)" \
    "$(complete_words _velarix velarix '')"
expect_within "velarix --<Tab>" "$(velarix --help | grep -o -- '--[a-z-]*' | sort -u)" \
    "$(complete_words _velarix velarix --)"

# Cards: what velarix-cli cards finds, not any folder.
export VELARIX_VOLUMES_DIR=$scratch/volumes XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
mkdir -p "$VELARIX_VOLUMES_DIR/GOPRO 1/DCIM" "$VELARIX_VOLUMES_DIR/NOTACARD" "$VELARIX_VOLUMES_DIR/X3/DCIM"
expect_same "velarix-cli scan --card <Tab>" \
    "$(printf '%s\n' "$VELARIX_VOLUMES_DIR/GOPRO 1" "$VELARIX_VOLUMES_DIR/X3" | sort)" \
    "$(complete_words _velarix_cli velarix-cli scan --card '')"
expect_same "velarix-cli import --card .../X<Tab>" "$VELARIX_VOLUMES_DIR/X3" \
    "$(complete_words _velarix_cli velarix-cli import --card "$VELARIX_VOLUMES_DIR/X")"

rm -rf "$scratch"
if ((failures)); then
    echo "completion: $failures checks failed" >&2
    exit 1
fi
echo "completion: commands, options, video files and cards as expected"
