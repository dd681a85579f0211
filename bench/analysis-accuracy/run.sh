#!/usr/bin/env bash
# How often the suggested range is right on real jumps: every log of tests/data/real-jumps becomes
# nine clips (GPS and accelerometer, accelerometer only, GPS only; each with silent, steady-noise and
# no sound), the full analysis runs on each, and the table gives per source combination how many
# ranges are within 1 s and 2 s of the truth (exit − 10 s, opening + 10 s), how many have none, end
# before the true opening, start after the true exit, miss by more than 2 s without being marked for
# review, and the worst miss. The held-out logs are reported apart. `--fast` skips the clips and runs
# the telemetry detection and the decision alone.
#
# Usage: bench/analysis-accuracy/run.sh [--fast] [--keep DIR]  (--keep: the clips stay in DIR)
#          (BUILD: the build folder, default build/release)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD:-$root/build/release}
cmake --build "$build" --target analysis-accuracy >/dev/null
exec "$build/bench/analysis-accuracy/analysis-accuracy" "$@"
