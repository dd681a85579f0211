#!/usr/bin/env bash
# Times a trim in place of 3 minutes out of a 10-minute 1080p30 H.264/AAC clip against what a careful
# user would do by hand to get the same result:
#   ffmpeg -ss START -to END -i clip -map 0 -c copy new.mp4 && sync --data new.mp4 && mv new.mp4 clip
# (a copy, made durable, then put over the source, which frees the source).
#
# Ours, two ways:
#   - `velarix-cli trim --range` with one file: until the process ends, which is at the swap (the
#     replaced original is freed by a detached process that outlives it; the next round waits, untimed,
#     until that free is done, so that it never runs under another measurement);
#   - the trimming window's trim (bench/trim/trim_until_swapped.cpp runs the same code): until the
#     row would say "Trimmed", which is at the swap; the original is freed afterwards in the background.
# Rounds alternate the order of the three; each round gives a ratio of ours to the baseline, and the
# median of the rounds' ratios is compared with the bars (CLI at most 0.85, window at most 0.6).
#
# Usage: bench/trim/run.sh   (ROUNDS, default 5; CLIP overrides the clip, default
#                             bench/data/clip-10min-1080p.mp4; the release build is used)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD:-$root/build/release}
cli=${VELARIX_CLI:-$build/cli/velarix-cli}
window=$build/bench/trim/trim-until-swapped
data=$root/bench/data
clip=${CLIP:-$data/clip-10min-1080p.mp4}
rounds=${ROUNDS:-5}
start=180
end=360
if [[ ! -x $cli || ! -x $window ]]; then
  echo "build first: cmake --preset release && cmake --build --preset release --target velarix-cli trim-until-swapped" >&2
  exit 2
fi
mkdir -p "$data"

if [[ ! -f $clip ]]; then
  echo "Making $clip (once)…" >&2
  segment=$data/segment-1080p.mp4
  # 20 s of camera-like picture (1 s key frames, ~15 Mbit/s) looped by stream copy to ten minutes,
  # under ten minutes of sound.
  ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc2=s=1920x1080:r=30:d=20" \
    -vf "noise=alls=4:allf=t" -c:v libx264 -preset ultrafast -qp 22 -g 30 -keyint_min 30 \
    -sc_threshold 0 -pix_fmt yuv420p "$segment"
  ffmpeg -hide_banner -loglevel error -y -stream_loop -1 -i "$segment" \
    -f lavfi -i "anoisesrc=c=pink:a=0.3:r=48000:d=600" \
    -map 0:v -map 1:a -t 600 -c:v copy -c:a aac -b:a 128k "$clip"
  rm -f "$segment"
fi

# The work files lie next to each other on one file system, as a card or a videos folder would.
tmp=$(mktemp -d "$data/trim-bench.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
export XDG_DATA_HOME=$tmp/data XDG_CONFIG_HOME=$tmp/config

now() { date +%s.%N; }
# A fresh source, read once so that every side starts from the page cache, and no writes pending.
fresh() {
  cp "$clip" "$1"
  cat "$1" > /dev/null
  sync
}

baseline() {
  fresh "$tmp/base.mp4"
  local t0
  t0=$(now)
  ffmpeg -hide_banner -loglevel error -ss "$start" -to "$end" -i "$tmp/base.mp4" -map 0 -c copy "$tmp/base.new.mp4"
  sync --data "$tmp/base.new.mp4"
  mv "$tmp/base.new.mp4" "$tmp/base.mp4"
  echo "$(now) - $t0" | bc
}

ours_cli() {
  fresh "$tmp/cli.mp4"
  local t0
  t0=$(now)
  /usr/bin/time -f "%M" -o "$tmp/cli.kb" "$cli" trim "$tmp/cli.mp4" --range "$start-$end" > /dev/null
  echo "$(now) - $t0" | bc
  cat "$tmp/cli.kb" >> "$tmp/peaks"
  # The detached free of the original, untimed: it must not run under the next measurement.
  while compgen -G "$tmp/.velarix-trim-*" > /dev/null; do sleep 0.05; done
}

ours_window() {
  fresh "$tmp/window.mp4"
  local t0 swapped
  t0=$(now)
  swapped=$("$window" "$tmp/window.mp4" "$start" "$end")
  echo "$swapped - $t0" | bc
}

: > "$tmp/ratios"
for round in $(seq "$rounds"); do
  if (( round % 2 )); then
    b=$(baseline); c=$(ours_cli); w=$(ours_window)
  else
    w=$(ours_window); c=$(ours_cli); b=$(baseline)
  fi
  printf "round %d: baseline %.2f s, velarix-cli trim %.2f s, window until \"Trimmed\" %.2f s\n" "$round" "$b" "$c" "$w"
  echo "$(echo "$c / $b" | bc -l) $(echo "$w / $b" | bc -l)" >> "$tmp/ratios"
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
cli_ratio=$(cut -d' ' -f1 "$tmp/ratios" | median)
window_ratio=$(cut -d' ' -f2 "$tmp/ratios" | median)
peak_kb=$(sort -n "$tmp/peaks" | tail -1)
duration() { ffprobe -v error -show_entries format=duration -of csv=p=0 "$1"; }
echo "clip: $(du -h "$clip" | cut -f1), range ${start}-${end} s; results: ours $(duration "$tmp/cli.mp4") s, baseline $(duration "$tmp/base.mp4") s"
echo "load: $(uptime)"
awk -v c="$cli_ratio" -v w="$window_ratio" -v kb="$peak_kb" -v n="$rounds" 'BEGIN {
  printf "velarix-cli trim / baseline, median of %d rounds: %.2f (bar: at most 0.85) %s\n", n, c, (c <= 0.85 ? "ok" : "TOO SLOW")
  printf "window until \"Trimmed\" / baseline, median of %d rounds: %.2f (bar: at most 0.60) %s\n", n, w, (w <= 0.6 ? "ok" : "TOO SLOW")
  printf "peak memory of velarix-cli: %.1f MiB (bar: under 100 MiB) %s\n", kb / 1024, (kb / 1024 < 100 ? "ok" : "TOO MUCH") }'
