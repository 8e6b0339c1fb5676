#!/usr/bin/env bash
# Set-up, then both build trees: the Windows installer and the native pieces.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw
if [ "${1:-}" != "--installer-only" ]; then
  cmake --preset native >/dev/null
  cmake --build --preset native
fi
