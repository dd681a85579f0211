#!/usr/bin/env bash
# Installs the Debian packages Velarix needs to build, test and run, when any are missing.
# `install-deps.sh package` adds what building and checking the Debian package needs.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6sql6-sqlite qt6-svg-dev libgl-dev
  qt6-l10n-tools qt6-tools-dev  # lupdate and lrelease for the translations, and their CMake functions
  qt6-translations-l10n  # Qt's own texts (standard dialogs) in the user's language
  qt6-multimedia-dev gstreamer1.0-libav gstreamer1.0-plugins-good
  libavformat-dev libavcodec-dev libavutil-dev libswresample-dev libswscale-dev
  libblkid-dev libxxhash-dev xxhash
  ffmpeg jq time
  libimage-exiftool-perl mediainfo gstreamer1.0-plugins-base-apps mpv  # independent readers of trimmed files and telemetry
  xvfb xauth
  clang libclang-rt-14-dev
  xdotool imagemagick  # driving the app under Xvfb for screenshots
  python3-pyatspi at-spi2-core  # the screen reader's view of the app, checked over AT-SPI
  # the end-to-end test of an ordinary user's card: a loop-mounted ext4 card, and the identity
  # sources a desktop has (udev's links, UDisks2 on a system bus)
  e2fsprogs mount util-linux passwd udev udisks2 dbus-daemon dbus-bin
  exfat-fuse fuse3 exfatprogs  # copies to and trims on exFAT drives mounted through FUSE, as desktops do
)
if [[ ${1:-} == package ]]; then
  packages+=(
    dpkg-dev file help2man gzip man-db lintian desktop-file-utils appstream bash-completion zsh
  )
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
# Node and npm run the camera vendor's telemetry parser in the tests (tests/readers); Debian's, unless
# another packaging of them is already there.
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
