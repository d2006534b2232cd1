#!/usr/bin/env bash
# Builds the demo data generator (tools/demo-data) and writes the demo data set into data/.
# With --check it writes into a temporary folder instead and fails unless the result equals the
# committed data/ byte for byte. The packages it needs are those tools/setup.sh installs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fonts=/usr/share/fonts/truetype/liberation
build="${DEMO_DATA_BUILD:-$root/build-demo-data}"

cmake -S "$root/tools/demo-data" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" >/dev/null

generate() {
  "$build/make_demo_data" "$root/tools/demo-data/files" "$fonts/LiberationSans-Regular.ttf" \
    "$fonts/LiberationSans-Bold.ttf" "$1"
}

case "${1:-}" in
  --check)
    out=$(mktemp -d)
    trap 'rm -rf "$out"' EXIT
    generate "$out" >/dev/null
    if ! diff -r "$root/data" "$out" >/dev/null; then
      echo "data/ differs from what tools/make-demo-data.sh makes:" >&2
      diff -rq "$root/data" "$out" >&2 || true
      exit 1
    fi
    echo "data/ is up to date" ;;
  "")
    rm -rf "$root/data"
    generate "$root/data" ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac
