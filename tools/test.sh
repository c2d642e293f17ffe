#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless; makes the Debian package and
# the portable ZIP and checks them; then the same suite again built with AddressSanitizer and
# UndefinedBehaviorSanitizer (skip that second run with DULVANE_NO_SANITIZE=1). Both runs use one
# throwaway database server (tools/pg_cluster.sh), removed at the end whatever happens.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

pg_dir="$(mktemp -d)"
trap '"$root/tools/pg_cluster.sh" stop "$pg_dir"' EXIT
"$root/tools/pg_cluster.sh" start "$pg_dir"
export DULVANE_TEST_PG="postgresql:///postgres?host=$pg_dir&user=postgres"

"$root/tools/build.sh" "$root/build"
ctest --test-dir "$root/build" --output-on-failure -j"$jobs"
"$root/tests/package_check.sh" "$root/build"

if [ "${DULVANE_NO_SANITIZE:-0}" != "1" ]; then
  "$root/tools/build.sh" "$root/build-sanitize" -DDULVANE_SANITIZE=ON -DDULVANE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  ctest --test-dir "$root/build-sanitize" --output-on-failure -j"$jobs"
fi
