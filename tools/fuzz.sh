#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer, the store's code instrumented)
# in build-fuzz, then runs each for a while on a corpus that starts from real files.
#   tools/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]     default 60 s; targets: like open
# Environment: DULVANE_FUZZ_BUILD (build folder, default build-fuzz), DULVANE_FUZZ_JOBS
# (parallel fuzzing processes per target, default 1).
# Findings (crashing inputs) are written to BUILD/fuzz-artifacts/, logs to BUILD/fuzz-*.log;
# the corpus grows in BUILD/fuzz-corpus/ and is reused by the next run.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(like open)
fi
build="${DULVANE_FUZZ_BUILD:-$root/build-fuzz}"
jobs="${DULVANE_FUZZ_JOBS:-1}"

if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang++ is needed (apt-get install clang libclang-rt-dev)" >&2
  exit 2
fi

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer" \
  -DDULVANE_FUZZ=ON -DDULVANE_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_like fuzz_open dulvane-admin

corpus="$build/fuzz-corpus"
artifacts="$build/fuzz-artifacts"
mkdir -p "$corpus/like" "$corpus/open" "$artifacts"

# Seeds: real data and settings files, and the kinds of pattern the program makes.
admin="$build/tools/dulvane-admin"
if [ ! -e "$corpus/open/empty-data.mdb" ]; then
  "$admin" create-data "$corpus/open/empty-data.mdb" >/dev/null
  "$admin" create-settings "$corpus/open/settings.ini" --name 山田 --folder /x/dulvane.mdb >/dev/null
  "$admin" create-settings "$corpus/open/settings-null.ini" >/dev/null
  "$admin" generate "$corpus/open/twelve-messages.mdb" 12 --seed 1 >/dev/null
fi
if [ ! -e "$corpus/like/seed-1" ]; then
  # First byte: bit 0 = raw UTF-16, the rest = where the pattern ends.
  i=0
  for p in $'\x40山田*山田太郎' $'\x40[*]a*b*a' $'\x40[!a-z]#?x1y' $'\x40*a*a*a*b\naaaaaaaaaab' \
           $'\x40[]x[x' $'\x40ＡＢＣ*ａｂｃ' $'\x40😀*😀😀' $'\x40[a-]-'; do
    i=$((i + 1))
    printf '%s' "$p" > "$corpus/like/seed-$i"
  done
fi

parallel=()
if [ "$jobs" -gt 1 ]; then
  # Worker processes write their own logs into the current folder.
  cd "$build"
  parallel=(-jobs="$jobs" -workers="$jobs")
fi

status=0
for t in "${targets[@]}"; do
  case "$t" in
    like) options=(-max_len=512 -timeout=5) ;;
    open) options=(-max_len=65536 -timeout=20 -rss_limit_mb=4096) ;;
    *) echo "fuzz.sh: unknown target $t (like, open)" >&2; exit 2 ;;
  esac
  echo "== fuzz_$t for ${seconds}s"
  if ! "$build/tests/fuzz/fuzz_$t" "${options[@]}" -max_total_time="$seconds" \
      "${parallel[@]}" -print_final_stats=1 \
      -artifact_prefix="$artifacts/$t-" "$corpus/$t" >"$build/fuzz-$t.log" 2>&1; then
    echo "fuzz_$t found a problem: see $build/fuzz-$t.log and $artifacts/" >&2
    status=1
  fi
  grep -E "^(stat::|#[0-9]+ +DONE)" "$build/fuzz-$t.log" || tail -5 "$build/fuzz-$t.log"
done
exit $status
