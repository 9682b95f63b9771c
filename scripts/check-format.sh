#!/usr/bin/env bash
# Fails when a tracked or new C++ file is not formatted as .clang-format says.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files --cached --others --exclude-standard '*.cpp' '*.h' 2>/dev/null || true)
[ -z "$files" ] && exit 0
echo "$files" | xargs clang-format --dry-run --Werror
