#!/usr/bin/env bash
# Multi-workstation load run: N workstation drivers (dulvane-workstation) at once on one
# generated data file (or a server database filled with the same messages), each running a realistic mix of the main window's operations for a
# bounded time, for each N given. Prints throughput and latency per operation, gathered from
# every driver's operation times, and keeps every driver's output.
#
#   bench/load_run.sh [--build DIR] [--messages N] [--seconds S] [--think-ms MS]
#                     [--workstations "1 8 32"] [--mix MIX] [--folder DIR] [--out DIR]
#                     [--server URI]
#
#   --build DIR         build folder with tools/dulvane-admin and tools/dulvane-workstation
#                       (default: build-bench, as tools/bench.sh makes it)
#   --messages N        messages in the data file at the start of each run (default 100000)
#   --seconds S         how long each run lasts (default 60)
#   --think-ms MS       each driver pauses 0..2*MS between operations (default 1000)
#   --mix MIX           operation weights (default poll=10,send=3,received=2,sent=1,delete=1;
#                       with the pauses, a poll every two seconds or so instead of every 65 s,
#                       a send every six seconds, a list every five, per workstation)
#   --folder DIR        where the data file lies: a local folder by default; give a mounted
#                       network share to measure one
#   --out DIR           where the drivers' outputs and summary.md go
#   --server URI        run on a database server instead of the file: URI names a database
#                       through which the run may make and drop databases (as
#                       tools/pg_cluster.sh's postgresql:///postgres?host=DIR&user=postgres);
#                       the generated file's messages are copied once into a database of their
#                       own (dulvane-admin create-data and copy, then VACUUM ANALYZE) and each
#                       run starts on a fresh copy of it. The server's max_connections must
#                       exceed the largest N.
#
# Latencies: every driver writes the time of every operation it ran; the figures are the
# office-wide median, 99th percentile (nearest rank) and worst of all of them.
# Exit status 1 when any operation failed.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-bench"
messages=100000
seconds=60
think=1000
workstations="1 8 32"
mix="poll=10,send=3,received=2,sent=1,delete=1"
folder=""
out=""
server=""
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build="$2"; shift 2 ;;
    --messages) messages="$2"; shift 2 ;;
    --seconds) seconds="$2"; shift 2 ;;
    --think-ms) think="$2"; shift 2 ;;
    --workstations) workstations="$2"; shift 2 ;;
    --mix) mix="$2"; shift 2 ;;
    --folder) folder="$2"; shift 2 ;;
    --out) out="$2"; shift 2 ;;
    --server) server="$2"; shift 2 ;;
    -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    *) echo "load_run.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

admin="$build/tools/dulvane-admin"
driver="$build/tools/dulvane-workstation"
for tool in "$admin" "$driver"; do
  if [ ! -x "$tool" ]; then
    echo "load_run.sh: $tool is missing; build it first (tools/bench.sh does)" >&2
    exit 2
  fi
done
if [ -z "$folder" ]; then
  folder="${DULVANE_BENCH_CACHE:-${TMPDIR:-/tmp}/dulvane-bench-cache}/load"
fi
mkdir -p "$folder"
out="${out:-$build/results/load}"
mkdir -p "$out"

# The office's staff, one name per workstation (the generated file's names): 山田 also
# lists 山田太郎's and 山田花子's messages, as in a real office.
staff=(山田 佐藤 鈴木 高橋 田中 渡辺 山田太郎 佐藤健一 鈴木一郎 伊藤誠 中村翔太 小林 加藤大輔
       吉田 山田花子 佐藤美咲 高橋直樹 田中裕子 渡辺恵 小林由美 林 林優子 吉田真理 松本 井上
       木村 清水 斎藤 森 森本 池田 橋本 石川 前田 山口 山本和也)
to="$(IFS=,; echo "${staff[*]}")"

base="$folder/load-base-v2-$messages.mdb"
if [ ! -f "$base" ]; then
  "$admin" generate "$base.part" "$messages" --seed 1 >/dev/null
  mv "$base.part" "$base"
fi

# On a server: the same messages in a database of their own, filled once per size; each run
# starts on a copy made from it by the server.
if [ -n "$server" ]; then
  psql="$(command -v psql || ls /usr/lib/postgresql/*/bin/psql 2>/dev/null | sort -V | tail -n 1)"
  if [ -z "$psql" ]; then
    echo "load_run.sh: psql is missing (install postgresql-client)" >&2
    exit 2
  fi
  database_uri() { # NAME: the URI of database NAME on the server
    echo "$server" | sed -E "s#^(postgres(ql)?://[^/?]*)/?[^?]*#\1/$1#"
  }
  sql() { PGOPTIONS="-c client_min_messages=warning" "$psql" -X -q -v ON_ERROR_STOP=1 "$server" -Atc "$1"; }
  base_db="load_base_v2_$messages"
  if [ -z "$(sql "SELECT 1 FROM pg_database WHERE datname = '$base_db'")" ]; then
    sql "DROP DATABASE IF EXISTS ${base_db}_part WITH (FORCE)"
    sql "CREATE DATABASE ${base_db}_part"
    "$admin" create-data "$(database_uri "${base_db}_part")" >/dev/null
    "$admin" copy "$base" "$(database_uri "${base_db}_part")" >/dev/null
    "$psql" -X -q "$(database_uri "${base_db}_part")" -c 'VACUUM ANALYZE "MEMO_T"'
    sql "ALTER DATABASE ${base_db}_part RENAME TO $base_db"
  fi
fi

summary="$out/summary.md"
rm -f "$out/machine.txt" "$out/failures.txt"
{
  echo "Load run: $messages messages at the start, $seconds s per run, think ${think} ms, mix $mix"
  if [ -n "$server" ]; then
    echo "Data: database server, $(sql 'SHOW server_version' | cut -d' ' -f1), max_connections" \
      "$(sql 'SHOW max_connections'), shared_buffers $(sql 'SHOW shared_buffers')"
  else
    echo "Data file folder: $folder ($(df -PT "$folder" | awk 'NR==2 {print $2}'))"
  fi
  echo
  echo "| workstations | operation | count | ops/s | failures | median ms | p99 ms | worst ms |"
  echo "|---:|---|---:|---:|---:|---:|---:|---:|"
} > "$summary"

# Reads "operation ms" lines sorted by operation and time; prints a table row per operation
# (count, rate, failures from failures-by-op.txt, median, 99th percentile, worst) and a total.
table() {
  awk -v n="$n" -v seconds="$seconds" '
    function rank(p, c,   r) { r = int(p * c); if (r < p * c) r++; if (r < 1) r = 1; return r }
    function flush() {
      if (c == 0) return
      printf "| %d | %s | %d | %.1f | %d | %.1f | %.1f | %.1f |\n", n, op, c, c / seconds,
             fails[op], v[rank(0.5, c)], v[rank(0.99, c)], v[c]
      all += c
    }
    FILENAME == ARGV[1] { fails[$1] = $2; next }
    $1 != op { flush(); op = $1; c = 0 }
    { v[++c] = $2 + 0 }
    END { flush(); printf "| %d | all | %d | %.1f | | | | |\n", n, all, all / seconds }
  ' "$runDir/failures-by-op.txt" -
}

warm="$out/summary-after-first.md"
{
  echo
  echo "Without each workstation's first operation of each kind:"
  echo
  echo "| workstations | operation | count | ops/s | failures | median ms | p99 ms | worst ms |"
  echo "|---:|---|---:|---:|---:|---:|---:|---:|"
} > "$warm"

failed=0
for n in $workstations; do
  if [ -n "$server" ]; then
    sql "DROP DATABASE IF EXISTS load_run WITH (FORCE)"
    sql "CREATE DATABASE load_run TEMPLATE $base_db"
    data="$(database_uri load_run)"
  else
    data="$folder/load-run.mdb"
    rm -f "$data" "$data-journal"
    cp "$base" "$data"
  fi
  runDir="$out/n$n"
  rm -rf "$runDir"
  mkdir -p "$runDir"
  cpu_before="$(head -n 1 /proc/stat)"
  pids=()
  for ((i = 0; i < n; i++)); do
    name="${staff[$((i % ${#staff[@]}))]}"
    "$driver" --file "$data" --name "$name" --to "$to" --mix "$mix" --seconds "$seconds" \
      --think-ms "$think" --seed "$((1000 + i))" --times "$runDir/ws$i.times" \
      >"$runDir/ws$i.txt" 2>"$runDir/ws$i.err" &
    pids+=("$!")
  done
  for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
  done
  # How busy the whole machine was during the run (every process, the server's included).
  cpu_busy="$(printf '%s\n%s\n' "$cpu_before" "$(head -n 1 /proc/stat)" | awk '
    { idle = $5 + $6; total = 0; for (i = 2; i <= NF; i++) total += $i }
    NR == 1 { idle0 = idle; total0 = total }
    NR == 2 { printf "%.0f", 100 * (1 - (idle - idle0) / (total - total0)) }')"
  echo "n=$n cpu_busy=${cpu_busy}% load=$(cut -d' ' -f1-3 /proc/loadavg)" >> "$out/machine.txt"
  # One row per operation: failures added up from the drivers' summaries; count, median,
  # 99th percentile and worst from every operation's time.
  cat "$runDir"/ws*.txt | awk '/^op=/ {
      for (i = 1; i <= NF; i++) { split($i, kv, "="); if (kv[1] == "op") op = kv[2]; if (kv[1] == "failures") f = kv[2] }
      fails[op] += f
    }
    END { for (op in fails) print op, fails[op] }' > "$runDir/failures-by-op.txt"
  sort -k1,1 -k2,2g "$runDir"/ws*.times | table >> "$summary"
  # The same without each workstation's first operation of each kind, which also pays for
  # the start (all N start at the same moment: connections made, caches filled).
  for times in "$runDir"/ws*.times; do awk 'seen[$1]++' "$times"; done |
    sort -k1,1 -k2,2g | table >> "$warm"
  # Failures the drivers met, by kind.
  grep -h '^failure:' "$runDir"/ws*.txt | sed "s/^/n=$n /" >> "$out/failures.txt" || true
done

{
  cat "$warm"
  echo
  echo "Machine during each run (all processes; $(nproc) cores):"
  sed 's/^/    /' "$out/machine.txt"
} >> "$summary"
cat "$summary"
if [ -s "$out/failures.txt" ]; then
  echo
  echo "Failures:"
  sort "$out/failures.txt" | uniq -c
fi
exit "$failed"
