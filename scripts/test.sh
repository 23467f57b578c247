#!/usr/bin/env bash
# Builds ZuX with warnings as errors and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${ZUX_BUILD_PACKAGES[@]}" googletest libgtest-dev
ensure_comma_locale
export ZUX_REQUIRE_LOCALE=1

jobs=$(nproc)
build=${ZUX_BUILD_DIR:-build/test}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DZUX_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs"
