#!/usr/bin/env bash
# Installs the Debian packages in scripts/packages.txt that are not installed yet.
# As root it runs apt-get; otherwise it prints the exact command to run and fails.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mapfile -t wanted < <(grep -v '^\s*#' "$here/packages.txt" | grep -v '^\s*$')
missing=()
for p in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
cmd="apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages. Run as root:" >&2
    echo "  $cmd" >&2
    exit 1
fi
echo "Installing: ${missing[*]}" >&2
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
