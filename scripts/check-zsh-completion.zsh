#!/usr/bin/env zsh
# Presses Tab in an interactive zsh (through zpty) with the zsh completion of velarix-cli loaded, and
# checks what it offers: the commands of velarix-cli --help, import's options, video files, cards.
# Usage: check-zsh-completion.zsh COMPLETION_DIR SCRATCH_DIR, with velarix-cli on PATH.
emulate -L zsh
zmodload zsh/zpty

completion_dir=${${1:?usage: check-zsh-completion.zsh COMPLETION_DIR SCRATCH_DIR}:A}
scratch=$(mktemp -d "${2:?usage}/zsh.XXXX")
cd $scratch || exit 1
integer failures=0

# Every word the completion adds for the line, one a line. compadd is wrapped to print its words
# between two NUL lines (before and after completion), and the shell exits after one completion.
offered() {
  zpty z zsh -f -i
  zpty -w z "fpath=(${(q)completion_dir} \$fpath); autoload -Uz compinit; compinit -u -D"
  zpty -w z 'bindkey "^I" complete-word; null-line() { echo -E - $'"'"'\0'"'"' }'
  zpty -w z 'compprefuncs=(null-line); comppostfuncs=(null-line exit)'
  zpty -w z 'compadd() { if [[ ${@[1,(i)(-|--)]} == *-(O|A|D)\ * ]]; then builtin compadd "$@"; return; fi
    local -a hits; builtin compadd -A hits "$@"; (( $#hits )) && print -l -- "HIT:"${^hits}; }'
  zpty -n -w z "$1"$'\t'
  local line
  integer nulls=0
  { while zpty -r z; do :; done } | while IFS= read -r line; do
    [[ $line == *$'\0'* ]] && { (( ++nulls == 2 )) && break; continue }
    (( nulls )) && [[ $line == HIT:* ]] && print -r -- ${${line#HIT:}%$'\r'}
  done | sort -u
  zpty -d z 2>/dev/null
}

expect() { # line, words that must be offered
  local line=$1 word
  local offers=$(offered $line)
  for word in ${@[2,-1]}; do
    (( ${${(f)offers}[(Ie)$word]} )) ||
      { print -u2 "zsh completion: '$line<Tab>' does not offer $word"; (( failures++ )) }
  done
}

cli_commands=(${(f)"$(velarix-cli --help | awk '/^Commands:/ { on = 1; next } on && /^$/ { exit } on && /^  [^ ]/ { print $1 }')"})
expect 'velarix-cli ' $cli_commands
expect 'velarix-cli import --' --card --new --pattern --dest --no-verify
mkdir -p files/sub && touch files/a.mp4 files/B.MP4 files/c.360 files/d.MOV
expect 'velarix-cli trim files/' a.mp4 B.MP4 c.360 d.MOV sub
export VELARIX_VOLUMES_DIR=$scratch/volumes XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
mkdir -p $VELARIX_VOLUMES_DIR/GOPRO/DCIM
expect 'velarix-cli scan --card ' $VELARIX_VOLUMES_DIR/GOPRO

cd / && rm -rf $scratch
(( failures == 0 )) || exit 1
print "zsh completion: commands, options, video files and cards as expected"
