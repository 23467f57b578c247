#!/usr/bin/env bash
# Builds ZuX and runs the example programs on the shipped sample.
#   scripts/demo.sh [XPATH]     XPATH: what the tour and the query tool select in
#                               examples/sample.xml (default: the titles of available books)
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

echo
echo "### zux-tour examples/sample.xml \"$xpath\""
"$build/examples/zux-tour" examples/sample.xml "$xpath" "$output"

echo
echo "### zux-query examples/sample.xml \"$xpath\""
"$build/examples/zux-query" examples/sample.xml "$xpath"
echo
echo "### zux-query examples/sample.xml '//book/@price'"
"$build/examples/zux-query" examples/sample.xml '//book/@price'
echo
echo "### zux-query --path examples/sample.xml catalog/shelf/book/author"
"$build/examples/zux-query" --path examples/sample.xml catalog/shelf/book/author
echo
echo "### zux-query examples/sample.xml 'count(//book)'   (not a node set: its value)"
"$build/examples/zux-query" examples/sample.xml 'count(//book)'
echo
echo "### zux-query examples/sample.xml 'count(//book'   (an expression that does not compile: exit status 1)"
"$build/examples/zux-query" examples/sample.xml 'count(//book' || echo "exit status $?"
