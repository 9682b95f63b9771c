#!/usr/bin/env bash
# Runs Kestrix on the default emulated device, laying the device out first if
# there is none (a 2450 board with a storage card). With a display that
# answers, Kestrix opens in a window; without one it runs headless and reads
# its commands from the terminal.
set -euo pipefail
build=${1:-build}
tool="$build/bin/kestrix-device"
device=${KESTRIX_DEVICE:-$HOME/.local/share/kestrix/device}
if [ ! -d "$device/root" ]; then
    "$tool" --device "$device" init
fi
if [ -n "${DISPLAY:-}" ] && timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1; then
    exec "$tool" --device "$device" run --window "${@:2}"
fi
echo "No display answers${DISPLAY:+ at $DISPLAY}: running headless, reading commands from the terminal (try: dump, click IDC_KEY_A, tick, click IDC_CLOSE; Ctrl-D ends)." >&2
exec "$tool" --device "$device" run "${@:2}"
