#!/usr/bin/env bash
# Runs Kestrix on the default emulated device, laying the device out first if
# there is none (a 2450 board with a storage card).
set -euo pipefail
build=${1:-build}
tool="$build/bin/kestrix-device"
device=${KESTRIX_DEVICE:-$HOME/.local/share/kestrix/device}
if [ ! -d "$device/root" ]; then
    "$tool" --device "$device" init
fi
exec "$tool" --device "$device" run "${@:2}"
