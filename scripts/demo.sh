#!/usr/bin/env bash
# Builds ZuX and runs the tour and the zux tool on the shipped samples.
#   scripts/demo.sh [XPATH]     XPATH: what the tour and zux query select in examples/sample.xml
#                               (default: the titles of available books)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${ZUX_BUILD_PACKAGES[@]}"

build=${ZUX_BUILD_DIR:-build/demo}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZUX_BUILD_TESTS=OFF -DZUX_BUILD_EXAMPLES=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

xpath=${1:-"//book[@available='true']/title"}
output=$(mktemp -d)
trap 'rm -rf "$output"' EXIT
zux=$build/tools/zux/zux

# Prints the command line, then runs it; a failure is shown with its exit status.
show() {
    echo
    echo "### zux $*"
    "$zux" "$@" || echo "(exit status $?)"
}

echo
echo "### zux-tour examples/sample.xml \"$xpath\""
"$build/examples/zux-tour" examples/sample.xml "$xpath" "$output"

show query "$xpath" examples/sample.xml
show query '//book/@price' examples/sample.xml
show query --path catalog/shelf/book/author examples/sample.xml
show query 'count(//book)' examples/sample.xml
show query 'count(//magazine)' examples/sample.xml
show query 'count(//book' examples/sample.xml
show check examples/sample.xml examples/broken.xml examples/broken-utf16.xml
show format examples/memo.xml
cp examples/config.xml "$output/config.xml"
show edit --in-place --set /config/port 8080 --attr //debug file zux.log "$output/config.xml"
cat "$output/config.xml"
echo
show edit --in-place --append //@level x "$output/config.xml"
