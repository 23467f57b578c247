#!/usr/bin/env bash
# Builds ZuX and runs the example programs on the shipped sample.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${ZUX_BUILD_PACKAGES[@]}"

build=${ZUX_BUILD_DIR:-build/demo}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZUX_BUILD_TESTS=OFF -DZUX_BUILD_EXAMPLES=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

echo
"$build/examples/zux-tour" examples/sample.xml "${1:-//book[@available='true']/title}"
