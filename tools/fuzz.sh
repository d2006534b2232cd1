#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one for a while (default 30 s).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
"$root/tools/setup.sh" --fuzz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The system's font and GL driver libraries keep some allocations for the whole process.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/support/lsan.supp}
status=0
for exe in "$root"/build-fuzz/fuzz/fuzz_*; do
  [ -x "$exe" ] || continue
  name=$(basename "$exe")
  mkdir -p "$work/$name"
  seeds=()
  [ -d "$root/fuzz/corpus/$name" ] && seeds=("$root/fuzz/corpus/$name")
  echo "fuzzing $name for ${seconds}s"
  (cd "$work" && "$exe" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=0 \
      "$work/$name" "${seeds[@]}" >"$work/$name.log" 2>&1) &
done
for job in $(jobs -p); do wait "$job" || status=1; done
if [ $status -ne 0 ]; then
  grep -l -E "ERROR|crash|leak" "$work"/*.log | while read -r f; do echo "== $f"; tail -n 40 "$f"; done
  exit 1
fi
echo "fuzzing finished without findings"
