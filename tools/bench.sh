#!/usr/bin/env bash
# Builds the benchmarks (Release, in build-bench) and runs them: the main window's handlers
# and the statements at 1,000 to 1,000,000 messages, peak memory with 100,000 messages
# listed, and the multi-workstation load run, each on the data file and on a database server.
# Results go to build-bench/results.
#
#   tools/bench.sh [--quick] [--no-load] [--no-server] [--filter REGEX] [--repetitions N]
#                  [--workstations "32 128 256"]
#
#   --quick          one repetition, shorter runs, load run of 20 s: a first look
#   --no-load        skip the multi-workstation load run
#   --no-server      the data file only, no database server
#   --workstations L the load run's numbers of workstations (default "1 8 32")
#   --filter REGEX   only the single-window benchmarks matching REGEX (Google Benchmark's
#                    --benchmark_filter); skips the memory and load runs
#   --repetitions N  repetitions of each benchmark (default 3; medians are reported)
#
# Generated data files are kept in $DULVANE_BENCH_CACHE (default build-bench/bench-cache):
# the first run makes them (about 15 s for the largest). Run on an otherwise quiet machine.
#
# The server: DULVANE_BENCH_PG when set (a URI through which databases may be made and
# dropped), else a throwaway server started in build-bench/pg by tools/pg_cluster.sh with
# DULVANE_PG_SETTINGS (default "max_connections=300 shared_buffers=1GB") and stopped at the
# end. Each size's messages are copied into a server database once per server.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${DULVANE_BENCH_BUILD:-$root/build-bench}"
repetitions=3
min_time=0.3
load_seconds=90
filter=""
load=1
server=1
workstations="1 8 32"
while [ $# -gt 0 ]; do
  case "$1" in
    --quick) repetitions=1; min_time=0.1; load_seconds=20; shift ;;
    --no-load) load=0; shift ;;
    --no-server) server=0; shift ;;
    --workstations) workstations="$2"; shift 2 ;;
    --filter) filter="$2"; load=0; shift 2 ;;
    --repetitions) repetitions="$2"; shift 2 ;;
    -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    *) echo "bench.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDULVANE_TESTS=OFF >/dev/null
# Two jobs at most: the machine is shared with other builds.
cmake --build "$build" -j2 --target dulvane_bench dulvane-admin dulvane-workstation

export QT_QPA_PLATFORM=offscreen
export DULVANE_BENCH_CACHE="${DULVANE_BENCH_CACHE:-$build/bench-cache}"
results="$build/results"
mkdir -p "$results" "$DULVANE_BENCH_CACHE"
bench="$build/bench/dulvane_bench"
common=(--benchmark_min_time="$min_time" --benchmark_repetitions="$repetitions"
        --benchmark_report_aggregates_only=true --benchmark_display_aggregates_only=true)
if [ "$repetitions" = 1 ]; then
  common=(--benchmark_min_time="$min_time")
fi

echo "== machine"
{
  echo "cores: $(nproc)"
  grep -m1 'model name' /proc/cpuinfo | sed 's/.*: /cpu: /'
  free -h | awk '/^Mem:/ {print "memory: " $2}'
  df -hT "$DULVANE_BENCH_CACHE" 2>/dev/null | awk 'NR==2 {print "disk: " $2 " " $3 " on " $1}' ||
    true
  uptime
} | tee "$results/machine.txt"

if [ "$server" = 1 ] && [ -z "${DULVANE_BENCH_PG:-}" ]; then
  cluster="$build/pg"
  "$root/tools/pg_cluster.sh" stop "$cluster"
  DULVANE_PG_SETTINGS="${DULVANE_PG_SETTINGS:-max_connections=300 shared_buffers=1GB}" \
    "$root/tools/pg_cluster.sh" start "$cluster"
  trap '"$root/tools/pg_cluster.sh" stop "$cluster"' EXIT
  export DULVANE_BENCH_PG="postgresql:///postgres?host=$cluster&user=postgres"
elif [ "$server" = 0 ]; then
  unset DULVANE_BENCH_PG
fi

if [ -n "$filter" ]; then
  "$bench" --benchmark_filter="$filter" "${common[@]}" \
    --benchmark_out="$results/filtered.json" --benchmark_out_format=json
  exit 0
fi

# The data files first, each size once: made in this process they would raise its memory
# peak, so the memory run below starts with them ready.
echo "== data files"
"$bench" --benchmark_filter='BM_Store_Received_(Office|EveryMessage)/' \
  --benchmark_min_time=0.01 >/dev/null

echo "== peak memory (each alone in its own process)"
"$bench" --benchmark_filter='BM_PeakMemory' --benchmark_out="$results/memory.json" \
  --benchmark_out_format=json
"$bench" --benchmark_filter='BM_Memory_' --benchmark_out="$results/memory_breakdown.json" \
  --benchmark_out_format=json

echo "== single window and statements"
"$bench" --benchmark_filter='-BM_(PeakMemory|Memory_)' "${common[@]}" \
  --benchmark_out="$results/bench.json" --benchmark_out_format=json | tee "$results/bench.txt"

if [ "$load" = 1 ]; then
  echo "== multi-workstation load run"
  # Both runs even when the first met failures; the exit status tells of either.
  failed=0
  "$root/bench/load_run.sh" --build "$build" --seconds "$load_seconds" \
    --workstations "$workstations" --out "$results/load" || failed=1
  if [ -n "${DULVANE_BENCH_PG:-}" ]; then
    "$root/bench/load_run.sh" --build "$build" --seconds "$load_seconds" \
      --workstations "$workstations" --server "$DULVANE_BENCH_PG" \
      --out "$results/load-server" || failed=1
  fi
  exit "$failed"
fi
