#!/usr/bin/env bash
# Times `velarix-cli trim --range` cutting 3 minutes out of a 10-minute 1080p30 H.264/AAC clip against
# `ffmpeg -ss START -to END -i clip -map 0 -c copy out.mp4` on the same file, side by side in one run.
# Prints both, their ratio and our peak memory.
#
# A trim in place does two things the baseline does not: it makes the copy durable before it replaces
# the source (fdatasync), and it frees the replaced source. Both are costs of the file system, so the
# run also times them on their own (`sync --data` of the baseline's output, `rm` of a file as large as
# the source) and prints a second ratio against the baseline plus them.
#
# Usage: bench/trim/run.sh   (VELARIX_CLI overrides the binary, default the release build;
#                             CLIP overrides the clip, default bench/data/clip-10min-1080p.mp4)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
cli=${VELARIX_CLI:-$root/build/release/cli/velarix-cli}
data=$root/bench/data
clip=${CLIP:-$data/clip-10min-1080p.mp4}
start=180
end=360
[[ -x $cli ]] || { echo "build velarix-cli first: cmake --preset release && cmake --build --preset release --target velarix-cli" >&2; exit 2; }
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

timed() { # stats-file command…
  local stats=$1
  shift
  /usr/bin/time -f "%e %M" -o "$stats" "$@"
}

# The machine is shared: both sides run twice, alternating, from the page cache; the faster run counts.
for run in 1 2; do
  cp "$clip" "$tmp/ours.mp4" # trimmed in place, so a fresh copy each time (not timed)
  cat "$clip" > /dev/null
  sync # neither side waits for the other's (or the copy's) writes to reach the disk
  timed "$tmp/ours$run" "$cli" trim "$tmp/ours.mp4" --range "$start-$end" > "$tmp/ours.log"
  rm -f "$tmp/theirs.mp4"
  sync
  timed "$tmp/theirs$run" ffmpeg -hide_banner -loglevel error -ss "$start" -to "$end" -i "$clip" -map 0 -c copy \
    "$tmp/theirs.mp4"
  timed "$tmp/sync$run" sync --data "$tmp/theirs.mp4"
  cp "$clip" "$tmp/replaced.mp4" # as large as the source a trim replaces (not timed)
  sync
  timed "$tmp/free$run" rm "$tmp/replaced.mp4"
done
best() { sort -n "$@" | head -1; }
read -r ours_s _ < <(best "$tmp"/ours?)
ours_kb=$(cat "$tmp"/ours? | awk '$2 > m { m = $2 } END { print m }')
read -r theirs_s theirs_kb < <(best "$tmp"/theirs?)
read -r sync_s _ < <(best "$tmp"/sync?)
read -r free_s _ < <(best "$tmp"/free?)

duration() { ffprobe -v error -show_entries format=duration -of csv=p=0 "$1"; }
echo "clip: $(du -h "$clip" | cut -f1), range ${start}-${end} s"
echo "velarix-cli trim: ${ours_s} s, peak ${ours_kb} KiB, result $(du -h "$tmp/ours.mp4" | cut -f1), $(duration "$tmp/ours.mp4") s"
echo "ffmpeg -c copy:   ${theirs_s} s, peak ${theirs_kb} KiB, result $(du -h "$tmp/theirs.mp4" | cut -f1), $(duration "$tmp/theirs.mp4") s"
echo "file system: sync --data of that result ${sync_s} s, rm of a file as large as the clip ${free_s} s"
awk -v o="$ours_s" -v t="$theirs_s" -v s="$sync_s" -v f="$free_s" -v kb="$ours_kb" 'BEGIN {
  r = o / t; printf "ratio: %.2f (bar: at most 1.10) %s\n", r, (r <= 1.1 ? "ok" : "TOO SLOW")
  e = o / (t + s + f)
  printf "ratio against ffmpeg + sync + rm: %.2f (bar: at most 1.10) %s\n", e, (e <= 1.1 ? "ok" : "TOO SLOW")
  printf "peak memory: %.1f MiB (bar: under 100 MiB) %s\n", kb / 1024, (kb / 1024 < 100 ? "ok" : "TOO MUCH") }'
