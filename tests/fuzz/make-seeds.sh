#!/usr/bin/env bash
# Writes the seed corpora of the fuzz targets into tests/fuzz/corpus/<target>/. Run it again after
# changing an input format; findings kept as regression seeds (crash-*) are left alone.
set -euo pipefail
cd "$(dirname "$0")/corpus"
mkdir -p fuzz_manifest fuzz_pattern fuzz_freefall fuzz_frame_motion fuzz_video fuzz_telemetry

# Manifests: what we write, what a person might write, and what no reader should accept.
printf '%s' '{"name":"Tandem"}' >fuzz_manifest/plain.json
printf '%s' '{"name":"Kamera \"B\" \u00e9t\u00e9 2024\/05 \ud83e\ude82"}' >fuzz_manifest/escapes.json
printf '%s' '{"name":"..\/..\/etc"}' >fuzz_manifest/climbing.json
printf '%s' '{"name":"\/abs\/\/olute\/."}' >fuzz_manifest/absolute.json
printf '%s' '{"name":"a\u0000b"}' >fuzz_manifest/nul.json
printf '{\n  "version": 2,\n  "name": "Wingsuit",\n  "extra": [1, 2.5e3, null, true]\n}\n' >fuzz_manifest/spaced.json
printf '%s' '{"name":42}' >fuzz_manifest/number.json
printf '%s' '["name","x"]' >fuzz_manifest/array.json
printf '%s' '{"name":""}' >fuzz_manifest/empty.json

# Patterns: line 1 the pattern, 2 the card name, 3 "<jump> <grouping>", then videos as
# "<path>\t<created, seconds since 1970>\t<duration>\t<size>".
t=1714557600 # 2024-05-01 10:00 UTC
row() { printf '%s\t%s\t%s\t%s\n' "$@"; }
{
    printf '{date}/{jump} {name} {filename}\nTandem\n12 1\n'
    row /card/DCIM/100GOPRO/GX010123.MP4 $t 60 1000
    row /card/DCIM/100GOPRO/GX010124.MP4 $((t + 330)) 60 1000
    row /card/DCIM/100GOPRO/GX010125.MP4 $((t + 1200)) 45 1000
} >fuzz_pattern/default.txt
{
    printf '{DATE}/{Today}/{NAME}/{jump}/{FileName} {card}{date\nTeam Blue\n1 0\n'
    row /card/DCIM/100GOPRO/GX010001.MP4 $t 120 10
    row /card/DCIM/100GOPRO/GX010002.mov $((t + 60)) 0 10
} >fuzz_pattern/every-placeholder.txt
{
    printf '{date}/jump\nCard\n1 1\n'
    row /card/DCIM/100GOPRO/a.MP4 $t 10 1
    row /card/DCIM/101GOPRO/a.MP4 $((t + 1)) 10 1
    row /card/DCIM/102GOPRO/a-1.MP4 $((t + 2)) 10 1
    row /card/DCIM/102GOPRO/jump-1.MP4 $((t + 3)) 10 1
} >fuzz_pattern/repeated-names.txt
{
    printf '/{name}//{filename}/\n../../etc\n-5 1\n'
    row /card/..MP4 notanumber 1 1
    row /card/.MP4 "" 0 0
    row /card/_.MP4 $t 0 0
    row /card/README "" 0 0
} >fuzz_pattern/hostile.txt
printf '\n\n0 1\n/card/A.360\t%s\t1e308\t-1\n/card/B.360\t-99999999999999\tnan\t9223372036854775807\n' $t \
    >fuzz_pattern/empty-pattern.txt

# Levels and frames are binary; see fuzz_freefall.cpp and fuzz_frame_motion.cpp for the layout.
python3 - <<'PY'
import math, struct

def levels(name, duration, values, compact):
    with open(f"fuzz_freefall/{name}", "wb") as f:
        f.write(bytes([1 if compact else 0]) + struct.pack("<f", duration))
        for v in values:
            f.write(struct.pack("<b", int(v)) if compact else struct.pack("<f", v))

# Cabin, exit at 40 s, 60 s of wind, opening, a quiet canopy ride (half-second windows).
jump = [(-50 + i % 3) if i < 80 else (-18 - i % 2) if i < 200 else -45 for i in range(400)]
levels("jump-compact", 200.0, jump, True)
levels("jump-float", 200.0, jump, False)
# Wind that pauses and comes back, then the opening; a short clip; the clip starting in freefall.
paused = [-50] * 40 + [-20] * 110 + [-50] * 20 + [-20] * 130 + [-50] * 300
levels("wind-pause", 300.0, paused, True)
levels("short", 100.0, [0, 30, 30, 30, 30, 30, 30, 30, 0, 0], True)
levels("starts-in-freefall", 150.0, [-15] * 100 + [-60] * 200, True)
# What a broken decoder could hand over.
odd = [float("nan"), float("inf"), -float("inf"), 3e38, -3e38, -0.0, 1e-45] * 30 + jump[:200]
levels("non-finite", 180.0, odd, False)
levels("nan-duration", float("nan"), jump, True)

def frames(name, shape, layouts):
    out = bytes([shape])
    for width, height, fmt, second, fraction, pixels in layouts:
        out += bytes([width, height, fmt, second, fraction, len(pixels)])
        if fraction != 0xFF:
            out += pixels
    with open(f"fuzz_frame_motion/{name}", "wb") as f:
        f.write(out)

gray = bytes(range(0, 256, 4))
bright = bytes([250]) * 64
# One frame per second; a jolt of the picture where the level drops.
steady = [(32, 18, 0, s, 0, gray) for s in range(40, 60)]
jolt = steady[:10] + [(32, 18, 0, 50, 0, bright)] + steady[11:]
frames("opening-jolt", 50, jolt)
# Mixed formats and sizes, a missing frame, a thin picture and an empty one.
frames("mixed", 90, [(96, 54, 1, 1, 0, gray), (1, 1, 3, 2, 0, bright), (0xFE, 1, 4, 3, 0, gray),
                     (16, 16, 6, 4, 0, gray), (0, 7, 0, 5, 0, b""), (9, 9, 5, 6, 0xFF, b""),
                     (200, 3, 8, 7, 128, gray), (64, 64, 10, 8, 0, b"")])
PY

# Telemetry tracks: see fuzz_telemetry.cpp for the layout; payloads in the camera's KLV format.
python3 - <<'PY'
import math, struct

def klv(key, type_, size, count, packed):
    out = key.encode() + struct.pack(">cBH", type_, size, count) + packed
    return out + b"\0" * (-len(out) % 4)

def nest(key, children):
    return klv(key, b"\0", 1, len(children), children)

def track(name, duration, packets):
    out = struct.pack("<H", duration)
    for step, payload in packets:
        out += struct.pack("<bH", step, len(payload)) + payload
    with open(f"fuzz_telemetry/{name}", "wb") as f:
        f.write(out)

def second(t, exit_, opening, gps=True, fix=3, scale=418):
    # Ten accelerometer samples (x y z, 1/418 m/s²) and two GPS fixes a second, as a coarse jump.
    accl, alt = [], []
    for i in range(10):
        s = t + i / 10
        g = 1.0 if s < exit_ else 0.5 + 0.05 * min(10, s - exit_) if s < opening else 3.5 if s < opening + 1 else 1.0
        accl += [int(g * 9.81 * 418), 0, 0]
    height = 4000 if t < exit_ else 4000 - 50 * (t - exit_) if t < opening else 4000 - 50 * (opening - exit_) - 5 * (t - opening)
    stream = nest("STRM", klv("TSMP", b"L", 4, 1, struct.pack(">L", int(t * 10))) +
                  klv("SCAL", b"s", 2, 1, struct.pack(">h", scale)) +
                  klv("ACCL", b"s", 6, 10, struct.pack(">30h", *accl)))
    if gps:
        fixes = b"".join(struct.pack(">5l", 519500000, 52300000, int(height * 1000), 35000, 5000) for _ in range(2))
        stream += nest("STRM", klv("GPSF", b"L", 4, 1, struct.pack(">L", fix)) +
                       klv("SCAL", b"l", 4, 5, struct.pack(">5l", 10000000, 10000000, 1000, 1000, 100)) +
                       klv("GPS5", b"l", 20, 2, fixes))
    return nest("DEVC", klv("DVNM", b"c", 6, 1, b"Camera") + stream)

track("jump", 120, [(4, second(t, 30, 70)) for t in range(120)])
track("accelerometer-only", 110, [(4, second(t, 25, 60, gps=False)) for t in range(110)])
track("no-fix", 100, [(4, second(t, 20, 60, fix=0)) for t in range(100)])
track("scale-zero", 100, [(4, second(t, 20, 60, gps=False, scale=0)) for t in range(100)])
# Times that run backwards, a payload cut short and one whose size lies.
good = second(0, 10, 20)
track("backwards", 30, [(4, good), (-8, good), (0, good), (4, good[:len(good) // 2]),
                         (4, good[:4] + b"\0\x01\xff\xff" + good[8:])])
# Structures of mixed types with arrays, Q numbers, doubles, deep nesting and padding between entries.
structure = nest("STRM", klv("TYPE", b"c", 1, 7, b"Jl[2]qd") + klv("SCAL", b"l", 4, 4, struct.pack(">4l", 1000, 10, 1, 0)) +
                 klv("GLPI", b"?", 28, 2, struct.pack(">Qllld", 1, 2, 3, 4 << 16, 5.0) * 2))
deep = b"\0" * 8 + nest("DEVC", nest("STRM", nest("FACE", nest("FACE", nest("FACE", klv("GYRO", b"f", 12, 1, struct.pack(">3f", 1, math.nan, math.inf)))))))
track("structures", 10, [(4, nest("DEVC", structure)), (4, deep)])
PY

# Videos: tiny real files, each a few kilobytes; the jump is long enough (96 s) to be analysed.
video() { ffmpeg -v error -y -nostdin "$@"; }
video -f lavfi -i "color=c=0x4080c0:s=32x18:r=1,drawbox=x='mod(t*8,32)':y=4:w=6:h=6:c=white:t=fill" \
    -f lavfi -i "sine=f=440:r=8000,volume='if(between(t,20,50),1,0)':eval=frame" -t 96 \
    -c:v libx264 -preset veryslow -crf 40 -g 300 -pix_fmt yuv420p -c:a aac -q:a 0.1 -ac 1 -ar 8000 \
    -map_metadata -1 -fflags +bitexact fuzz_video/jump.mp4
# Two video streams, as a dual-lens file has, and no audio.
video -f lavfi -i "testsrc=s=32x16:r=4" -f lavfi -i "testsrc2=s=32x16:r=4" -t 1 -map 0 -map 1 \
    -c:v mpeg4 -q:v 20 -map_metadata -1 -fflags +bitexact fuzz_video/dual.mp4
# Audio only, in a QuickTime file.
video -f lavfi -i "anoisesrc=a=0.5:r=8000" -t 1 -c:a aac -b:a 8k -ac 1 -map_metadata -1 -fflags +bitexact \
    fuzz_video/audio-only.mov
