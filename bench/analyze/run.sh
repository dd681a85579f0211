#!/usr/bin/env bash
# Times `velarix-cli analyze` against the ffmpeg command line doing the same decoding work: the audio
# resampled to 11,025 Hz mono, plus the key frames of the stretch the analysis sampled, scaled to 96
# pixels. Two 10-minute jump clips with 1 s key frames:
#   - 1080p30 H.264/AAC without B-frames (bench/data/jump-10min-1080p.mp4)
#   - 2160p30 HEVC/AAC with B-frames, as action cameras record today (bench/data/jump-10min-2160p-hevc.mp4)
#   - 2160p30 HEVC/AAC as x265 makes it by default, with open groups of pictures, as phones record
#     (bench/data/jump-10min-2160p-hevc-opengop.mp4)
# Both sides run PAIRS times (default 5), alternating; the ratio printed is the median of the
# ratios of each pair, so that other work on a shared machine hits both sides alike.
#
# `frames` measures the frame pass alone on the open-GOP clip (the sample-frames tool, one picture a
# second over the stretch the analysis samples after an exit at 4:00): its time and peak memory.
#
# Usage: bench/analyze/run.sh [1080p|2160p|2160p-opengop|telemetry|frames]...   (default all; VELARIX_CLI overrides the binary,
#        PAIRS the number of pairs)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
cli=${VELARIX_CLI:-$root/build/release/cli/velarix-cli}
pairs=${PAIRS:-5}
data=$root/bench/data
[[ -x $cli ]] || { echo "build velarix-cli first: cmake --preset release && cmake --build --preset release --target velarix-cli" >&2; exit 2; }
mkdir -p "$data"

# Ten minutes of jump audio: cabin noise, exit at 4:00, wind, canopy opening at 5:00, quiet canopy.
jump_audio=(-f lavfi -i "anoisesrc=c=pink:a=0.5:r=48000:d=600"
  -filter_complex "[1:a]volume='if(between(t,240,300),0.02*pow(50,min(1,(t-240)/3)),0.02)':eval=frame,pan=stereo|c0=c0|c1=c0[a]")

make_1080p() { # 20 s of camera-like picture (~15 Mbit/s) looped by stream copy under the jump audio
  local clip=$1 segment=$data/segment-1080p.mp4
  ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc2=s=1920x1080:r=30:d=20" \
    -vf "noise=alls=4:allf=t" -c:v libx264 -preset ultrafast -qp 22 -g 30 -keyint_min 30 \
    -sc_threshold 0 -pix_fmt yuv420p "$segment"
  ffmpeg -hide_banner -loglevel error -y -stream_loop -1 -i "$segment" "${jump_audio[@]}" \
    -map 0:v -map "[a]" -t 600 -c:v copy -c:a aac -b:a 128k "$clip"
  rm -f "$segment"
}

make_2160p() { # 4 s of 4K HEVC with B-frames (closed 1 s GOPs, fastest preset) looped the same way
  local clip=$1 segment=$data/segment-2160p-hevc.mp4
  ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc2=s=3840x2160:r=30:d=4" \
    -vf "noise=alls=3:allf=t" -c:v libx265 -preset ultrafast -crf 22 -tag:v hvc1 \
    -x265-params "keyint=30:min-keyint=30:scenecut=0:open-gop=0:bframes=3:log-level=error" \
    -pix_fmt yuv420p "$segment"
  ffmpeg -hide_banner -loglevel error -y -stream_loop -1 -i "$segment" "${jump_audio[@]}" \
    -map 0:v -map "[a]" -t 600 -c:v copy -c:a aac -b:a 128k "$clip"
  rm -f "$segment"
}

make_2160p-opengop() { # the same with x265's defaults for the groups of pictures: open, B-frames, scene cuts
  local clip=$1 segment=$data/segment-2160p-hevc-opengop.mp4
  ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc2=s=3840x2160:r=30:d=4" \
    -vf "noise=alls=3:allf=t" -c:v libx265 -preset ultrafast -crf 22 -tag:v hvc1 \
    -x265-params "keyint=30:log-level=error" -pix_fmt yuv420p "$segment"
  ffmpeg -hide_banner -loglevel error -y -stream_loop -1 -i "$segment" "${jump_audio[@]}" \
    -map 0:v -map "[a]" -t 600 -c:v copy -c:a aac -b:a 128k "$clip"
  rm -f "$segment"
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

timed() { # stats-file command…: appends "seconds peak-KiB"
  local stats=$1
  shift
  /usr/bin/time -f "%e %M" -a -o "$stats" "$@"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

bench() { # label clip-file peak-bar-MiB
  local label=$1 clip=$2 bar_mib=$3
  if [[ ! -f $clip ]]; then
    echo "Making $clip (once)…" >&2
    "make_$label" "$clip"
  fi
  cat "$clip" > /dev/null # both sides start from the page cache
  rm -f "$tmp"/*
  "$cli" --json analyze "$clip" > "$tmp/result.json"
  # The stretch the analysis sampled: the opening search (30 s to 120 s after the exit) widened by 8 s.
  local duration exit_time from to
  duration=$(jq -r .duration "$tmp/result.json")
  exit_time=$(jq -r .exitTime "$tmp/result.json")
  [[ $exit_time != null ]] || { echo "no exit found: $(cat "$tmp/result.json")" >&2; exit 1; }
  read -r from to < <(awk -v e="$exit_time" -v d="$duration" 'BEGIN {
    f = e + 30 - 8; if (f < 0) f = 0; t = e + 120 + 8; if (t > d) t = d; print f, t }')
  for ((pair = 0; pair < pairs; pair++)); do
    timed "$tmp/ours" "$cli" --json analyze "$clip" > /dev/null
    timed "$tmp/audio" ffmpeg -hide_banner -loglevel error -i "$clip" -vn -ac 1 -ar 11025 -f f32le -y /dev/null
    timed "$tmp/frames" ffmpeg -hide_banner -loglevel error -discard nokey -skip_frame nokey -ss "$from" \
      -to "$to" -i "$clip" -an -vf scale=96:-2 -fps_mode passthrough -f null -
  done
  local ratio ours_med base_med ours_kb
  ratio=$(paste -d' ' "$tmp/ours" "$tmp/audio" "$tmp/frames" | awk '{ print $1 / ($3 + $5) }' | median)
  ours_med=$(cut -d' ' -f1 "$tmp/ours" | median)
  base_med=$(paste -d' ' "$tmp/audio" "$tmp/frames" | awk '{ print $1 + $3 }' | median)
  ours_kb=$(awk '$2 > m { m = $2 } END { print m }' "$tmp/ours")
  echo "== $label: $(du -h "$clip" | cut -f1), $(jq -r .summary "$tmp/result.json"), frames ${from}-${to} s"
  echo "velarix-cli analyze: median ${ours_med} s, peak $(awk -v k="$ours_kb" 'BEGIN { printf "%.1f", k / 1024 }') MiB"
  echo "ffmpeg baseline:     median ${base_med} s (audio $(cut -d' ' -f1 "$tmp/audio" | median) s + key frames $(cut -d' ' -f1 "$tmp/frames" | median) s)"
  awk -v r="$ratio" -v n="$pairs" -v kb="$ours_kb" -v bar="$bar_mib" 'BEGIN {
    printf "ratio (median of %d pairs): %.2f (bar: at most 1.00) %s\n", n, r, (r <= 1.0 ? "ok" : "TOO SLOW")
    printf "peak memory: %.1f MiB (bar: under %d MiB) %s\n", kb / 1024, bar, (kb / 1024 < bar ? "ok" : "TOO MUCH") }'
}

# The 1080p clip with the camera's telemetry (10 minutes of accelerometer, gyroscope and GPS, agreeing
# with the sound): what reading and weighing it adds to the analysis.
telemetry_overhead() {
  local clip=$data/jump-10min-1080p.mp4 telemetry_clip=$data/jump-10min-1080p-gpmf.mp4
  [[ -f $clip ]] || make_1080p "$clip"
  if [[ ! -f $telemetry_clip ]]; then
    echo "Making $telemetry_clip (once)…" >&2
    "$cli" demo --jump "$data/telemetry-10min.mp4" --seconds 600 --exit 240 --opening 300 --audio none >/dev/null
    ffmpeg -hide_banner -loglevel error -y -i "$clip" -i "$data/telemetry-10min.mp4" -map 0:v -map 0:a -map 1:d \
      -c copy "$telemetry_clip"
    rm -f "$data/telemetry-10min.mp4"
  fi
  cat "$clip" "$telemetry_clip" > /dev/null
  rm -f "$tmp"/*
  for ((pair = 0; pair < pairs; pair++)); do
    timed "$tmp/plain" "$cli" --json analyze "$clip" > /dev/null
    timed "$tmp/sensed" "$cli" --json analyze "$telemetry_clip" > "$tmp/sensed.json"
  done
  local overhead
  overhead=$(paste -d' ' "$tmp/plain" "$tmp/sensed" | awk '{ print ($3 - $1) / $1 * 100 }' | median)
  echo "== telemetry: $(jq -r '.telemetrySource // "unused"' "$tmp/sensed.json"), $(jq -r .summary "$tmp/sensed.json")"
  echo "with telemetry: median $(cut -d' ' -f1 "$tmp/sensed" | median) s against $(cut -d' ' -f1 "$tmp/plain" | median) s"
  awk -v r="$overhead" -v n="$pairs" 'BEGIN {
    printf "telemetry overhead (median of %d pairs): %+.1f %% (bar: at most 5 %%) %s\n", n, r, (r <= 5 ? "ok" : "TOO SLOW") }'
}

# The HEVC decoder kept every open-GOP key frame it was given alive: 265 MiB here before it was
# drained and flushed after each one, 140 MiB after (debug build, one run each).
frame_pass() {
  local clip=$data/jump-10min-2160p-hevc-opengop.mp4 tool=${VELARIX_SAMPLE_FRAMES:-$root/build/release/bench/analyze/sample-frames}
  [[ -x $tool ]] || { echo "build it first: cmake --build --preset release --target sample-frames" >&2; exit 2; }
  [[ -f $clip ]] || make_2160p-opengop "$clip"
  cat "$clip" > /dev/null
  rm -f "$tmp"/*
  for ((pair = 0; pair < pairs; pair++)); do
    timed "$tmp/frames" "$tool" "$clip" 262 368 > /dev/null
  done
  local kb
  kb=$(awk '$2 > m { m = $2 } END { print m }' "$tmp/frames")
  echo "== frame pass, 2160p open GOP: median $(cut -d' ' -f1 "$tmp/frames" | median) s"
  awk -v kb="$kb" 'BEGIN { printf "peak memory: %.1f MiB (bar: under 160 MiB) %s\n", kb / 1024, (kb / 1024 < 160 ? "ok" : "TOO MUCH") }'
}

labels=("$@")
[[ ${#labels[@]} -gt 0 ]] || labels=(1080p 2160p telemetry)
for label in "${labels[@]}"; do
  case $label in
  1080p) bench 1080p "$data/jump-10min-1080p.mp4" 150 ;;
  2160p) bench 2160p "$data/jump-10min-2160p-hevc.mp4" 200 ;;
  2160p-opengop) bench 2160p-opengop "$data/jump-10min-2160p-hevc-opengop.mp4" 160 ;;
  telemetry) telemetry_overhead ;;
  frames) frame_pass ;;
  *) echo "unknown clip '$label' (1080p, 2160p, 2160p-opengop, telemetry or frames)" >&2; exit 2 ;;
  esac
done
