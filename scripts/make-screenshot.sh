#!/usr/bin/env bash
# Makes the screenshot of the running dialog for the documentation: Kestrix
# in a real window on a private Xvfb display, an address entered with the
# keypad, saved by the scripted-run command `screenshot`.
#   scripts/make-screenshot.sh [BUILD_DIR] [OUTPUT.png]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
output=$(realpath -m "${2:-$here/docs/kestrix-window.png}")
tool="$build/bin/kestrix-device"
[ -x "$tool" ] || { echo "no $tool: build first (make build)" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "Xvfb is missing: scripts/install-deps.sh" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 800x480x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
display=":$(head -n1 "$work/display")"

"$tool" --device "$work/device" init >/dev/null
mkdir -p "$(dirname "$output")"
cat >"$work/script" <<SCRIPT
click IDC_KEY_1
click IDC_KEY_A
click IDC_KEY_2
click IDC_KEY_B
click IDC_KEY_3
click IDC_KEY_C
tick 2
screenshot $output
SCRIPT
DISPLAY=$display timeout 60 "$tool" --device "$work/device" run --window --script "$work/script" \
    >"$work/events" 2>"$work/stderr" || true
if ! grep -q '"event":"screenshot"' "$work/events"; then
    echo "no screenshot was saved:" >&2
    cat "$work/events" "$work/stderr" >&2
    exit 1
fi
echo "saved $output"
