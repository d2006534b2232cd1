#!/usr/bin/env bash
# Set-up, build and run every test. Usage: tools/test.sh [--sanitize|--thread]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh" "$@"
dir=build
skip=()
case "${1:-}" in
  --sanitize) dir=build-asan ;;
  # Only the programs that start threads are built; the others stand in ctest as "_NOT_BUILT".
  # The GL driver's raster threads are not ours and not instrumented: keep them off.
  # The puzzle cases' whole runs start no thread the demo case's run and the rooms' own tests do
  # not start, and take the best part of an hour under this instrumentation: they run in the
  # other two suites.
  --thread) dir=build-tsan; skip=(-E '_NOT_BUILT|^EndToEnd\.APuzzleCase'); export LP_NUM_THREADS=0 ;;
esac
# With GCC 12's runtime on glibc 2.36, LeakSanitizer's tracking of dynamic TLS now and then takes a
# bogus range for the main thread and crashes at exit ("Tracer caught signal 11"); the leak check
# does without that tracking.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:intercept_tls_get_addr=0}
# The system's font and GL driver libraries keep some allocations for the whole process.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/support/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}
ctest --test-dir "$root/$dir" --output-on-failure -j "$(nproc)" "${skip[@]}"
