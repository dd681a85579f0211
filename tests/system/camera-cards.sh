#!/usr/bin/env bash
# The cards of the cameras skydivers wear, as an ordinary user (skydiver, made here) meets them: exFAT
# images (as SDXC cards come formatted) loop-mounted under /media/skydiver/ through exfat-fuse, owned
# by that user as a desktop mounts them:
# - a 360 camera: DCIM/Camera01 with a two-lens clip (VID_…_00_/_10_….insv) and its LRV_ proxy;
# - a mirrorless camera: PRIVATE/M4ROOT/CLIP with C0001.MP4 and C0001M01.XML (local time in the file
#   times), its proxy in PRIVATE/M4ROOT/SUB, photos in DCIM;
# - an action camera: a recording in three chapters (GX01…, GX02…, GX03…) with a GL…LRV proxy per
#   chapter and a .THM, and a single clip.
# As that user: cards, scan, import (joined chapters, companions), history; results read with ffprobe.
#
# Needs root to make the user and mount the cards; exits 77 (skipped) where that is impossible.
# Usage: camera-cards.sh VELARIX_CLI
set -uo pipefail

cli_built=${1:?velarix-cli}
user=skydiver
skip() {
    echo "SKIPPED: $*"
    exit 77
}

[[ $(id -u) -eq 0 ]] || skip "making the user '$user' and mounting cards need root (CI runs this as root)"
for tool in useradd runuser losetup mkfs.exfat mount.exfat-fuse umount flock ffmpeg ffprobe jq cmp; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh installs it)"
done
[[ -e /dev/fuse ]] || skip "/dev/fuse is missing: FUSE mounts are impossible here"

# The user and /media/skydiver are shared with the other test of an ordinary user's card.
exec 9>/run/lock/velarix-user-card.lock
flock -w 600 9 || skip "another run of an ordinary user's test kept its lock for ten minutes"

work=$(mktemp -d /tmp/velarix-camera-cards.XXXXXX)
chmod 0755 "$work"
media="/media/$user"
labels=(X360 ALPHA GOPRO)
loops=()

cleanup() {
    for label in "${labels[@]}"; do
        umount "$media/$label" 2>/dev/null
        rmdir "$media/$label" 2>/dev/null
    done
    for loop in "${loops[@]}"; do losetup -d "$loop" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# What a killed run left behind.
for label in "${labels[@]}"; do umount "$media/$label" 2>/dev/null; done
losetup -a | sed -n 's|^\(/dev/loop[0-9]*\):.*(/tmp/velarix-camera-cards\.[^/]*/.*\.img.*|\1|p' |
    while read -r stale; do losetup -d "$stale"; done

source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$user" || skip "useradd failed"
home=$(getent passwd "$user" | cut -d: -f6)
uid=$(id -u "$user")
gid=$(id -g "$user")
runtime="$work/runtime"
install -d -o "$user" -m 0700 "$runtime"
rm -rf "$home/.local/share/app.tarnwick.Velarix" "$home/.config/app.tarnwick.Velarix" "$home/Videos/Cameras"

install -d -m 0755 "$work/bin"
install -m 0755 "$cli_built" "$work/bin/velarix-cli"
source "$(dirname "${BASH_SOURCE[0]}")/as-user.sh"
cli() { as_user "$work/bin/velarix-cli" "$@"; }

# A camera's card: an exFAT image mounted for the user as a desktop's automounter does.
mount_card() { # label
    local label=$1 image="$work/$1.img" loop
    truncate -s 96M "$image"
    mkfs.exfat -L "$label" "$image" >/dev/null 2>&1 || skip "mkfs.exfat failed"
    loop=$(losetup --find --show "$image" 2>/dev/null) || skip "no loop device here (losetup failed)"
    loops+=("$loop")
    install -d -m 0755 "$media"
    mkdir -p "$media/$label"
    mount.exfat-fuse -o "allow_other,uid=$uid,gid=$gid,umask=022" "$loop" "$media/$label" >/dev/null 2>&1 ||
        skip "mounting $loop through exfat-fuse failed here"
}
clip() { # output, seconds, size, then further ffmpeg output options
    local out=$1 seconds=$2 size=$3
    shift 3
    ffmpeg -v error -y -f lavfi -i "testsrc2=size=$size:rate=25:duration=$seconds" \
        -f lavfi -i "anoisesrc=color=pink:amplitude=0.2:sample_rate=48000:duration=$seconds" \
        -c:v libx264 -g 25 -pix_fmt yuv420p -c:a aac -shortest "$@" "$out"
}

for label in "${labels[@]}"; do mount_card "$label"; done

# The 360 camera: both lenses of one clip, its proxy, and a clip of one lens alone.
x360="$media/X360/DCIM/Camera01"
mkdir -p "$x360"
clip "$x360/VID_20261207_101500_00_001.insv" 8 320x320 -f mp4
clip "$x360/VID_20261207_101500_10_001.insv" 8 320x320 -f mp4
clip "$x360/LRV_20261207_101500_11_001.lrv" 8 160x160 -f mp4
clip "$x360/VID_20261207_103000_00_002.insv" 5 320x320 -f mp4
touch -d "2026-12-07 10:15:08" "$x360"/*_001.*
touch -d "2026-12-07 10:30:05" "$x360"/*_002.*

# The mirrorless camera: local time (UTC+1) in the FAT times, the true start in the clip's XML.
alpha="$media/ALPHA/PRIVATE/M4ROOT"
mkdir -p "$alpha/CLIP" "$alpha/SUB" "$media/ALPHA/DCIM/100MSDCF"
clip "$alpha/CLIP/C0001.MP4" 6 640x360 -f mp4
clip "$alpha/SUB/C0001S03.MP4" 6 320x180 -f mp4
cat >"$alpha/CLIP/C0001M01.XML" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<NonRealTimeMeta xmlns="urn:schemas-professionalDisc:nonRealTimeMeta:ver.2.00" lastUpdate="2026-12-07T11:00:06+01:00">
	<Duration value="150"/>
	<CreationDate value="2026-12-07T11:00:00+01:00"/>
</NonRealTimeMeta>
XML
ffmpeg -v error -y -f lavfi -i "testsrc2=size=320x240:duration=1" -frames:v 1 "$media/ALPHA/DCIM/100MSDCF/DSC00001.JPG"
touch -d "2026-12-07 11:00:00 UTC" "$alpha/CLIP/C0001.MP4" "$alpha/CLIP/C0001M01.XML" "$alpha/SUB/C0001S03.MP4"

# The action camera: one 30 s recording in three chapters, each with its proxy. Like a camera's, each
# chapter starts every stream at 0 (ffmpeg's segment muxer would not: its later chapters begin with
# sound from before their start).
gopro="$media/GOPRO/DCIM/100GOPRO"
mkdir -p "$gopro"
for n in 1 2 3; do
    ffmpeg -v error -y -f lavfi -i "testsrc2=size=640x360:rate=25:duration=30" \
        -f lavfi -i "anoisesrc=color=pink:amplitude=0.2:sample_rate=48000:duration=30" \
        -ss $(((n - 1) * 10)) -t 10 -c:v libx264 -g 25 -pix_fmt yuv420p -c:a aac -f mp4 "$gopro/GX0${n}0003.MP4"
done
for n in 1 2 3; do
    ffmpeg -v error -y -i "$gopro/GX0${n}0003.MP4" -vf scale=320:180 -c:v libx264 -c:a copy -f mp4 \
        "$gopro/GL0${n}0003.LRV"
done
ffmpeg -v error -y -i "$gopro/GX010003.MP4" -frames:v 1 -vf scale=160:90 -f mjpeg "$gopro/GX010003.THM"
clip "$gopro/GX010004.MP4" 4 640x360 -f mp4
touch -d "2026-12-07 12:00:30" "$gopro"/*0003.*
touch -d "2026-12-07 12:10:04" "$gopro"/*0004.*
chown -R "$user:$user" "$media"/* 2>/dev/null

# --- As the user.
cards=$(cli --json cards)
for label in "${labels[@]}"; do
    check "cards lists $label" test "$(jq --arg p "$media/$label" '[.[] | select(.path == $p)] | length' <<<"$cards")" = 1
done

scan() { cli --json scan --card "$media/$1"; }
row() { # scan, file -> its row
    jq -c --arg f "$2" '.videos[] | select(.file == $f)' <<<"$1"
}

x360_scan=$(scan X360)
echo "360 camera: $x360_scan"
check "the 360 card lists two clips" test "$(jq '.videos | length' <<<"$x360_scan")" = 2
check "the second lens and the proxy come with their clip" test \
    "$(row "$x360_scan" VID_20261207_101500_00_001.insv | jq -r '.companions | join(" ")')" = \
    "LRV_20261207_101500_11_001.lrv VID_20261207_101500_10_001.insv"

alpha_scan=$(scan ALPHA)
echo "mirrorless camera: $alpha_scan"
check "the mirrorless card lists one clip, neither the proxy nor the photo" \
    test "$(jq -r '[.videos[].file] | join(" ")' <<<"$alpha_scan")" = C0001.MP4
check "its XML and its proxy in SUB come with it" \
    test "$(row "$alpha_scan" C0001.MP4 | jq -r '.companions | join(" ")')" = "C0001M01.XML C0001S03.MP4"
created=$(row "$alpha_scan" C0001.MP4 | jq -r '.created')
check "its time is the XML's (10:00 UTC), not the file's local time ($created)" \
    test "$(date -u -d "$created" +%H:%M)" = 10:00

gopro_scan=$(scan GOPRO)
echo "action camera: $gopro_scan"
check "the action camera's card lists the recording once and the single clip" \
    test "$(jq -r '[.videos[].file] | sort | join(" ")' <<<"$gopro_scan")" = "GX010003.MP4 GX010004.MP4"
check "the recording has its three chapters" \
    test "$(row "$gopro_scan" GX010003.MP4 | jq -r '.chapters | join(" ")')" = "GX010003.MP4 GX020003.MP4 GX030003.MP4"
check "and its proxies and thumbnail" \
    test "$(row "$gopro_scan" GX010003.MP4 | jq -r '.companions | join(" ")')" = \
    "GL010003.LRV GL020003.LRV GL030003.LRV GX010003.THM"

dest="$home/Videos/Cameras"
for label in "${labels[@]}"; do
    runuser -u "$user" -- mkdir -p "$dest/$label"
    imported=$(cli --json import --card "$media/$label" --dest "$dest/$label" --pattern "{filename}")
    echo "$label import: $imported"
    check "$label: import copies without a failure" test "$(jq '.failed | length' <<<"$imported")" = 0
done

check "both lenses and the proxy are identical copies" bash -c "
    for f in VID_20261207_101500_00_001.insv VID_20261207_101500_10_001.insv LRV_20261207_101500_11_001.lrv \
        VID_20261207_103000_00_002.insv; do cmp -s '$x360/'\$f '$dest/X360/'\$f || exit 1; done"
check "the mirrorless clip, its XML and its proxy are identical copies" bash -c "
    cmp -s '$alpha/CLIP/C0001.MP4' '$dest/ALPHA/C0001.MP4' && cmp -s '$alpha/CLIP/C0001M01.XML' '$dest/ALPHA/C0001M01.XML' &&
    cmp -s '$alpha/SUB/C0001S03.MP4' '$dest/ALPHA/C0001S03.MP4'"
check "no photo was imported" test ! -e "$dest/ALPHA/DSC00001.JPG"
check "the chapters are one file, the proxies and thumbnail beside it" test \
    "$(ls "$dest/GOPRO" | tr '\n' ' ')" = "GL010003.LRV GL020003.LRV GL030003.LRV GX010003.MP4 GX010003.THM GX010004.MP4 "
joined_duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$dest/GOPRO/GX010003.MP4")
check "ffprobe reads the joined recording as 30 s ($joined_duration s)" \
    awk -v d="$joined_duration" 'BEGIN { exit !(d > 29.9 && d < 30.2) }'
frames() { ffprobe -v error -select_streams v:0 -count_packets -show_entries stream=nb_read_packets -of csv=p=0 "$1"; }
chapter_frames=$(($(frames "$gopro/GX010003.MP4") + $(frames "$gopro/GX020003.MP4") + $(frames "$gopro/GX030003.MP4")))
check "ffprobe counts the chapters' $chapter_frames frames in the joined file" \
    test "$(frames "$dest/GOPRO/GX010003.MP4")" = "$chapter_frames"
check "ffprobe finds a picture and a sound in it" \
    test "$(ffprobe -v error -show_entries stream=codec_type -of csv=p=0 "$dest/GOPRO/GX010003.MP4" | sort | tr '\n' ' ')" = "audio video "
check "the copies belong to $user" test "$(stat -c %U "$dest/GOPRO/GX010003.MP4")" = "$user"

for label in "${labels[@]}"; do
    check "$label: every row is imported" \
        test "$(scan "$label" | jq '[.videos[] | select(.state != "imported")] | length')" = 0
done
history_counts=""
for label in "${labels[@]}"; do
    history_counts+="$(cli --json history --card "$media/$label" | jq '.files | length') "
done
# 360: three lens files and the proxy; mirrorless: clip, XML, proxy; action camera: three chapters,
# three proxies, the thumbnail and the single clip.
check "the history holds every copied file ($history_counts)" test "$history_counts" = "4 3 8 "

if ((failures)); then
    echo "$failures checks failed"
    exit 1
fi
echo "all checks passed"
