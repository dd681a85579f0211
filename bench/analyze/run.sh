#!/usr/bin/env bash
# Times `velarix-cli analyze` on a 10-minute 1080p30 H.264/AAC jump clip against the ffmpeg command
# line doing the same decoding work: the audio resampled to 11,025 Hz mono, plus the key frames of
# the stretch the analysis sampled, scaled to 96 pixels. Prints both, their ratio and peak memory.
#
# Usage: bench/analyze/run.sh   (VELARIX_CLI overrides the binary; default: the release build)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
cli=${VELARIX_CLI:-$root/build/release/cli/velarix-cli}
data=$root/bench/data
clip=$data/jump-10min-1080p.mp4
[[ -x $cli ]] || { echo "build velarix-cli first: cmake --preset release && cmake --build --preset release --target velarix-cli" >&2; exit 2; }
mkdir -p "$data"

if [[ ! -f $clip ]]; then
  echo "Making $clip (once)…" >&2
  segment=$data/segment-1080p.mp4
  # 20 s of camera-like picture (1 s key frames, ~15 Mbit/s), looped by stream copy under ten
  # minutes of jump audio: cabin noise, exit at 4:00, wind, canopy opening at 5:00, quiet canopy.
  ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc2=s=1920x1080:r=30:d=20" \
    -vf "noise=alls=4:allf=t" -c:v libx264 -preset ultrafast -qp 22 -g 30 -keyint_min 30 \
    -sc_threshold 0 -pix_fmt yuv420p "$segment"
  ffmpeg -hide_banner -loglevel error -y -stream_loop -1 -i "$segment" \
    -f lavfi -i "anoisesrc=c=pink:a=0.5:r=48000:d=600" \
    -filter_complex "[1:a]volume='if(between(t,240,300),0.02*pow(50,min(1,(t-240)/3)),0.02)':eval=frame,pan=stereo|c0=c0|c1=c0[a]" \
    -map 0:v -map "[a]" -t 600 -c:v copy -c:a aac -b:a 128k "$clip"
  rm -f "$segment"
fi

cat "$clip" > /dev/null # both sides start from the page cache
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

timed() { # stats-file command…
  local stats=$1
  shift
  /usr/bin/time -f "%e %M" -o "$stats" "$@"
}

# The machine is shared: both sides run twice, alternating, and the faster run of each counts.
best() { # stats-file…: prints "seconds peak-KiB" of the fastest
  sort -n "$@" | head -1
}

for run in 1 2; do
  timed "$tmp/ours$run" "$cli" --json analyze "$clip" > "$tmp/result.json"
  if [[ $run == 1 ]]; then
    # The stretch the analysis sampled: the opening search (30 s to 120 s after the exit) widened by 8 s.
    duration=$(jq -r .duration "$tmp/result.json")
    exit_time=$(jq -r .exitTime "$tmp/result.json")
    [[ $exit_time != null ]] || { echo "no exit found: $(cat "$tmp/result.json")" >&2; exit 1; }
    read -r from to < <(awk -v e="$exit_time" -v d="$duration" 'BEGIN {
      f = e + 30 - 8; if (f < 0) f = 0; t = e + 120 + 8; if (t > d) t = d; print f, t }')
  fi
  timed "$tmp/audio$run" ffmpeg -hide_banner -loglevel error -i "$clip" -vn -ac 1 -ar 11025 -f f32le -y /dev/null
  timed "$tmp/frames$run" ffmpeg -hide_banner -loglevel error -discard nokey -skip_frame nokey -ss "$from" \
    -to "$to" -i "$clip" -an -vf scale=96:-2 -fps_mode passthrough -f null -
done
read -r ours_s _ < <(best "$tmp"/ours?)
ours_kb=$(cat "$tmp"/ours? | awk '$2 > m { m = $2 } END { print m }')
read -r audio_s audio_kb < <(best "$tmp"/audio?)
read -r frames_s frames_kb < <(best "$tmp"/frames?)

echo "clip: $(du -h "$clip" | cut -f1), $(jq -r .summary "$tmp/result.json"), frames sampled from ${from}s to ${to}s"
echo "velarix-cli analyze: ${ours_s} s, peak ${ours_kb} KiB"
echo "ffmpeg baseline:     $(awk -v a="$audio_s" -v f="$frames_s" 'BEGIN { print a + f }') s (audio ${audio_s} s + key frames ${frames_s} s), peak ${audio_kb}/${frames_kb} KiB"
awk -v o="$ours_s" -v a="$audio_s" -v f="$frames_s" -v kb="$ours_kb" 'BEGIN {
  r = o / (a + f); printf "ratio: %.2f (bar: at most 1.00) %s\n", r, (r <= 1.0 ? "ok" : "TOO SLOW")
  printf "peak memory: %.1f MiB (bar: under 150 MiB) %s\n", kb / 1024, (kb / 1024 < 150 ? "ok" : "TOO MUCH") }'

# The same clip with the camera's telemetry (10 minutes of accelerometer, gyroscope and GPS, agreeing
# with the sound): what reading and weighing it adds to the analysis.
telemetry_clip=$data/jump-10min-1080p-gpmf.mp4
if [[ ! -f $telemetry_clip ]]; then
  echo "Making $telemetry_clip (once)…" >&2
  "$cli" demo --jump "$data/telemetry-10min.mp4" --seconds 600 --exit 240 --opening 300 --audio none >/dev/null
  ffmpeg -hide_banner -loglevel error -y -i "$clip" -i "$data/telemetry-10min.mp4" -map 0:v -map 0:a -map 1:d \
    -c copy "$telemetry_clip"
  rm -f "$data/telemetry-10min.mp4"
fi
cat "$telemetry_clip" > /dev/null
for run in 1 2 3; do
  timed "$tmp/plain$run" "$cli" --json analyze "$clip" > /dev/null
  timed "$tmp/sensed$run" "$cli" --json analyze "$telemetry_clip" > "$tmp/sensed.json"
done
read -r plain_s _ < <(best "$tmp"/plain?)
read -r sensed_s _ < <(best "$tmp"/sensed?)
echo "with telemetry: ${sensed_s} s against ${plain_s} s, telemetry $(jq -r '.telemetrySource // "unused"' "$tmp/sensed.json"), $(jq -r .summary "$tmp/sensed.json")"
awk -v p="$plain_s" -v s="$sensed_s" 'BEGIN {
  r = (s - p) / p * 100; printf "telemetry overhead: %+.1f %% (bar: at most 5 %%) %s\n", r, (r <= 5 ? "ok" : "TOO SLOW") }'
