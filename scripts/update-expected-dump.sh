#!/usr/bin/env bash
# Rewrites tests/program/expected/first_start_2450.json from a scripted run of
# a fresh 2450 device: one line per control, so a change reads as a small diff.
# Review the diff before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
device=$(mktemp -d)/device
trap 'rm -rf "$(dirname "$device")"' EXIT
"$build/bin/kestrix-device" --device "$device" init >/dev/null
echo dump | "$build/bin/kestrix-device" --device "$device" run | head -n 1 | python3 -c '
import json, sys
d = json.loads(sys.stdin.read())
out = ["{"]
for k, v in d.items():
    if k != "controls":
        out.append("  %s: %s," % (json.dumps(k), json.dumps(v, ensure_ascii=False)))
out.append("  \"controls\": [")
out.append(",\n".join("    " + json.dumps(c, ensure_ascii=False) for c in d["controls"]))
out += ["  ]", "}"]
print("\n".join(out))
' > tests/program/expected/first_start_2450.json
