#!/usr/bin/env bash
# Velarix as a skydiver's desktop runs it: an ordinary user (skydiver, made here) and a real card, an
# ext4 image loop-mounted under /media/skydiver/ whose block device the user may not read. As that
# user: cards, scan, a verified import into the home folder, history, analyze, trim --keep-original
# into the user's Trash, and the window's card load (headless). The card's identity is read the ways a
# desktop offers (the file system's ioctl, udev's links with systemd-udevd started here, UDisks2 on a
# system bus started here), and without any (the fallback key).
#
# Needs root to make the user and mount the card; exits 77 (skipped) where that is impossible.
# Usage: user-card.sh VELARIX_CLI WINDOW_PROBE
set -uo pipefail

cli_built=${1:?velarix-cli}
probe_built=${2:?window probe}
user=skydiver
label=JUMPCAM
skip() {
    echo "SKIPPED: $*"
    exit 77
}

[[ $(id -u) -eq 0 ]] || skip "making the user '$user' and mounting a card need root (CI runs this as root)"
for tool in useradd runuser losetup mkfs.ext4 mount umount blkid flock ffprobe jq; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh installs it)"
done

# One run at a time on a machine: they share the user, the mount point and the daemons.
exec 9>/run/lock/velarix-user-card.lock
flock -w 600 9 || skip "another run of this test kept its lock for ten minutes"

work=$(mktemp -d /tmp/velarix-user-card.XXXXXX)
chmod 0755 "$work"
card="/media/$user/$label"
loop=""
started_pids=()
dbus_socket_ours=0

cleanup() {
    umount "$card" 2>/dev/null
    [[ -n $loop ]] && losetup -d "$loop" 2>/dev/null
    # udev removes the device's links while it still runs: stale links would name another image.
    command -v udevadm >/dev/null && udevadm settle -t 10 2>/dev/null
    for ((i = ${#started_pids[@]} - 1; i >= 0; i--)); do
        kill "${started_pids[i]}" 2>/dev/null && wait "${started_pids[i]}" 2>/dev/null
    done
    ((dbus_socket_ours)) && rm -f /run/dbus/system_bus_socket
    rmdir "$card" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# What a run that was killed left behind: its card's mount and loop device.
umount "$card" 2>/dev/null
losetup -a | sed -n 's|^\(/dev/loop[0-9]*\):.*(/tmp/velarix-user-card\.[^/]*/card\.img.*|\1|p' |
    while read -r stale; do losetup -d "$stale"; done

source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

# The user, idempotently; its own folders as a desktop session has them.
id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$user" || skip "useradd failed"
home=$(getent passwd "$user" | cut -d: -f6)
runtime="$work/runtime"
install -d -o "$user" -m 0700 "$runtime"
# A fresh history and settings each run.
rm -rf "$home/.local/share/app.tarnwick.Velarix" "$home/.config/app.tarnwick.Velarix" \
    "$home/.local/share/Trash" "$home/Videos/Jumps"

# The programs where the user can run them (a checkout under /root is not readable by others).
install -d -m 0755 "$work/bin"
install -m 0755 "$cli_built" "$work/bin/velarix-cli"
install -m 0755 "$probe_built" "$work/bin/window-probe"

source "$(dirname "${BASH_SOURCE[0]}")/as-user.sh"
cli() { as_user "$work/bin/velarix-cli" "$@"; }

# The card: a camera's folders and two recordings, made before it is mounted for the user.
truncate -s 192M "$work/card.img"
mkfs.ext4 -q -F -L "$label" "$work/card.img" || skip "mkfs.ext4 failed"
loop=$(losetup --find --show "$work/card.img" 2>/dev/null) || skip "no loop device here (losetup failed)"
chown root:root "$loop"
chmod 0600 "$loop"
mkdir -p "$card"
mount "$loop" "$card" 2>/dev/null || skip "mounting $loop failed here"
# As the desktop mounts it: /media/USER is the user's, the card's files too.
chmod 0755 "/media/$user"
mkdir -p "$card/DCIM/100GOPRO"
as_user true # the user exists for the tools below
"$work/bin/velarix-cli" demo --jump "$card/DCIM/100GOPRO/GX010001.MP4" --seconds 150 --exit 40 --opening 95 \
    >/dev/null || { fail "making the demo jump"; exit 1; }
"$work/bin/velarix-cli" demo --jump "$card/DCIM/100GOPRO/GX010002.MP4" --seconds 20 --exit 5 --opening 12 \
    >/dev/null || { fail "making the second demo jump"; exit 1; }
touch -d "2026-05-01 10:00" "$card/DCIM/100GOPRO/GX010001.MP4"
touch -d "2026-05-01 10:20" "$card/DCIM/100GOPRO/GX010002.MP4"
chown -R "$user:$user" "$card"
uuid=$(blkid -o value -s UUID "$loop")
echo "card $card on $loop, UUID $uuid"

check_not "the block device is not readable by $user" as_user test -r "$loop"

# --- Identity sources, one at a time.
identity() { # sources -> the card's uuid in `cards`
    as_user env VELARIX_IDENTITY_SOURCES="$1" "$work/bin/velarix-cli" --json cards |
        jq -r --arg card "$card" '.[] | select(.path == $card) | .uuid'
}
id_ioctl=$(identity ioctl)
if [[ $id_ioctl == "$uuid" ]]; then
    pass "the file system's ioctl gives the UUID blkid reads"
else
    echo "note: this kernel does not answer FS_IOC_GETFSUUID for ext4 (it gave '$id_ioctl')"
fi

# Without any source (and as the user, libblkid cannot open the device): the fallback key.
id_none=$(identity blkid)
check "without a readable source the card still has a key" test -n "$id_none" -a "$id_none" != null
check "the fallback key is not the volume's UUID" test "$id_none" != "$uuid"

udevd=/lib/systemd/systemd-udevd
if [[ -x $udevd ]] && command -v udevadm >/dev/null; then
    if ! pgrep -x systemd-udevd >/dev/null; then
        "$udevd" >"$work/udevd.log" 2>&1 &
        started_pids+=($!)
        sleep 1
    fi
    udevadm trigger --action=add --subsystem-match=block --sysname-match="$(basename "$loop")"
    udevadm settle -t 20
    check "udev made the by-uuid link" test -e "/dev/disk/by-uuid/$uuid"
    check "udev's links give the UUID blkid reads" test "$(identity udev)" = "$uuid"
    check_not "udev left the device unreadable to $user" as_user test -r "$loop"

    udisksd=/usr/libexec/udisks2/udisksd
    if [[ -x $udisksd ]] && command -v dbus-daemon >/dev/null; then
        if ! dbus-send --system --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetId \
            >/dev/null 2>&1; then
            mkdir -p /run/dbus
            rm -f /run/dbus/system_bus_socket
            dbus-daemon --system --nofork --nopidfile >"$work/dbus.log" 2>&1 &
            started_pids+=($!)
            dbus_socket_ours=1
            for _ in $(seq 50); do [[ -S /run/dbus/system_bus_socket ]] && break; sleep 0.1; done
        fi
        if ! dbus-send --system --print-reply --dest=org.freedesktop.DBus / \
            org.freedesktop.DBus.NameHasOwner string:org.freedesktop.UDisks2 2>/dev/null | grep -q true; then
            "$udisksd" --no-sigint >"$work/udisks.log" 2>&1 &
            started_pids+=($!)
        fi
        for _ in $(seq 100); do
            dbus-send --system --print-reply --dest=org.freedesktop.DBus / \
                org.freedesktop.DBus.NameHasOwner string:org.freedesktop.UDisks2 2>/dev/null | grep -q true && break
            sleep 0.1
        done
        check "UDisks2 gives the UUID blkid reads" test "$(identity udisks)" = "$uuid"
    else
        fail "UDisks2 or dbus-daemon is not installed (scripts/install-deps.sh installs them)"
    fi
else
    fail "systemd-udevd is not installed (scripts/install-deps.sh installs the udev package)"
fi

# --- The user's work, with every source the desktop now has.
cards=$(cli --json cards)
check "cards lists the card with its UUID" \
    test "$(jq -r --arg card "$card" '.[] | select(.path == $card) | .uuid' <<<"$cards")" = "$uuid"

scan=$(cli --json scan --card "$card")
echo "scan: $scan"
check "scan lists both videos, neither imported" \
    test "$(jq -r '[.videos[] | select(.state != "imported")] | length' <<<"$scan")" = 2

dest="$home/Videos/Jumps"
as_user mkdir -p "$dest"
imported=$(cli --json import --card "$card" --dest "$dest" --pattern "{filename}")
check "import copies both videos" test "$(jq '.imported | length' <<<"$imported")" = 2
for name in GX010001.MP4 GX010002.MP4; do
    check "$name is an identical copy owned by $user" \
        bash -c "cmp -s '$card/DCIM/100GOPRO/$name' '$dest/$name' && [[ \$(stat -c %U '$dest/$name') == $user ]]"
done
history=$(cli --json history --card "$card")
check "history lists both files" test "$(jq '.files | length' <<<"$history")" = 2
check "scan marks both as imported" \
    test "$(cli --json scan --card "$card" | jq -r '[.videos[] | select(.state == "imported")] | length')" = 2

analysis=$(cli --json analyze "$dest/GX010001.MP4")
start=$(jq -r '.suggestedStart' <<<"$analysis")
check "analyze suggests a start" test "$start" != null

duration_before=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$dest/GX010001.MP4")
trimmed=$(cli --json trim --keep-original "$dest/GX010001.MP4")
echo "$trimmed"
duration_after=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$dest/GX010001.MP4")
check "trim shortened the video (ffprobe: $duration_before s -> $duration_after s)" \
    awk -v a="$duration_after" -v b="$duration_before" 'BEGIN { exit !(a > 0 && a < b - 1) }'
trash="$home/.local/share/Trash"
check "the original is in $user's Trash, whole" \
    bash -c "f=\$(ls '$trash/files' | head -n1); [[ -n \$f ]] && [[ -f '$trash/info/'\$f.trashinfo ]] &&
        cmp -s '$card/DCIM/100GOPRO/GX010001.MP4' '$trash/files/'\$f"

# The window: only this card (a shared machine may have others mounted), found as a volume.
window=$(as_user env VELARIX_VOLUMES_DIR="/media/$user" "$work/bin/window-probe")
echo "window: $window"
check "the window loads the card's rows" test "$(jq '.rows' <<<"$window")" = 2
check "the window keys the card by its UUID" test "$(jq -r '.uuid' <<<"$window")" = "$uuid"

# --- The fallback, as on a machine where no source answers: the card still loads and imports.
nosrc() { as_user env VELARIX_IDENTITY_SOURCES=none "$@"; }
scan_err="$work/scan.err"
fallback_scan=$(nosrc "$work/bin/velarix-cli" --json scan --card "$card" 2>"$scan_err")
check "without an identity, scan still lists the videos" \
    test "$(jq '.videos | length' <<<"$fallback_scan")" = 2
check "and says why marks may be missing" grep -q "could not read the identity" "$scan_err"
check "the fallback key is the one cards shows" \
    test "$(jq -r '.card.uuid' <<<"$fallback_scan")" = "$(identity none)"
fallback_dest="$work/fallback-dest"
install -d -o "$user" "$fallback_dest"
fallback_import=$(nosrc "$work/bin/velarix-cli" --json import --card "$card" --dest "$fallback_dest" \
    --pattern "{filename}" GX010002.MP4 2>/dev/null)
check "without an identity, import copies and records" \
    test "$(jq '.imported | length' <<<"$fallback_import")" = 1 -a "$(jq '.failed | length' <<<"$fallback_import")" = 0
check "its history is kept under the fallback key" \
    test "$(nosrc "$work/bin/velarix-cli" --json history --card "$card" 2>/dev/null | jq '.files | length')" = 1
fallback_window=$(as_user env VELARIX_IDENTITY_SOURCES=none VELARIX_VOLUMES_DIR="/media/$user" "$work/bin/window-probe")
echo "window without an identity: $fallback_window"
check "the window still loads the card" test "$(jq '.rows' <<<"$fallback_window")" = 2
check "and says why marks may be missing" contains "$(jq -r '.alert' <<<"$fallback_window")" \
    "could not read the identity"

if ((failures)); then
    echo "$failures checks failed"
    exit 1
fi
echo "all checks passed"
