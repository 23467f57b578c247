#!/usr/bin/env bash
# Checks the code against .clang-format and .clang-tidy, and builds the API reference with Doxygen;
# exits non-zero on any finding or documentation warning.
#   scripts/check-style.sh          check
#   scripts/check-style.sh --fix    reformat in place first (clang-tidy findings stay to be fixed by hand)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${ZUX_BUILD_PACKAGES[@]}" clang-format clang-tidy doxygen

mapfile -t sources < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' | grep -v '^build')
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${sources[@]}"
fi

echo "clang-format: ${#sources[@]} files"
clang-format --dry-run --Werror "${sources[@]}"

# clang-tidy needs the compile commands and the generated headers of a configured tree.
build=${ZUX_BUILD_DIR:-build/tidy}
cmake -S . -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DZUX_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null
echo "clang-tidy: the library, the examples and the tool"
run-clang-tidy -quiet -p "$build" "$(pwd)/(src|examples|tools)/" >"$build/clang-tidy.log" 2>&1 || {
    grep -E 'error:|warning:' "$build/clang-tidy.log" || cat "$build/clang-tidy.log"
    exit 1
}
echo "doxygen: the API reference, every warning an error"
cmake --build "$build" --target docs >"$build/doxygen.log" 2>&1 || {
    grep -E 'warning|error' "$build/doxygen.log" || tail -n 20 "$build/doxygen.log"
    exit 1
}
echo "style: clean"
