#!/bin/bash
# Builds tessmark_fuzzer with clang and runs it for a given time; prints libFuzzer's last status
# line (executions, "cov:" edges, "ft:" features, corpus, exec/s) and the findings.
#
#   fuzz/run_fuzzers.sh [-t SECONDS] [-b BUILD]
#     -t SECONDS  how long to fuzz (default 300; tools/test runs 90)
#     -b BUILD    build folder (default: build-fuzz beside this folder)
#
# Seeds are read where they live, never copied into the repository: the inputs and command lines
# of the end-to-end cases (tests/cases), the real IAR files in ../shared/real-world when present,
# and the checked-in corpus fuzz/corpus, which holds the inputs of past findings, so every run
# replays them first. New inputs go to BUILD/fuzz-runs/corpus, kept between runs; findings to
# BUILD/fuzz-runs/artifacts/TIME. Exit status 1 on a finding.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
seconds=300
build=$repo/build-fuzz
while getopts "t:b:" option; do
  case $option in
    t) seconds=$OPTARG ;;
    b) build=$OPTARG ;;
    *) sed -n '2,7p' "$0" >&2; exit 2 ;;
  esac
done

[ -f "$build/build.ninja" ] || CXX=${CXX:-clang++} cmake -S "$repo" -B "$build" -G Ninja \
  -DTESSMARK_BUILD_FUZZ=ON -DTESSMARK_BUILD_TESTS=OFF -DTESSMARK_BUILD_WIZARD=OFF \
  -DTESSMARK_WINDOWS_SUITE=OFF >/dev/null
cmake --build "$build" -j2 --target tessmark_fuzzer

runs=$build/fuzz-runs
seeds=$runs/seeds artifacts=$runs/artifacts/$(date +%Y%m%d-%H%M%S) log=$runs/last.log
rm -rf "$seeds"
mkdir -p "$seeds" "$runs/corpus" "$artifacts"
# Each seed starts with the byte that selects its kind: the extension's last letter for a
# project (p) or a workspace (w), c for a command line (with the temporary folder made relative).
roots=("$repo/tests/cases")
[ -d "$repo/../shared/real-world" ] && roots+=("$repo/../shared/real-world")
n=0
while IFS= read -r -d '' file; do
  { printf %s "${file: -1}"; cat "$file"; } >"$seeds/file-$((n += 1))"
done < <(find "${roots[@]}" -type f \( -name '*.ewp' -o -name '*.eww' \) -print0)
for args in "$repo"/tests/cases/*/args; do
  printf 'c%s' "$(sed 's#{TMP}/##g; s#{TMP}#.#g' "$args")" >"$seeds/args-$((n += 1))"
done

# A sandbox folder of the run's own, removed also when a finding ended the fuzzer early.
sandbox=$(mktemp -d "$([ -w /dev/shm ] && echo /dev/shm || echo /tmp)/tessmark-fuzz-XXXXXX")
echo "fuzzing for ${seconds}s ..." >&2
status=0
TMPDIR=$sandbox "$build/bin/tessmark_fuzzer" -max_total_time="$seconds" -timeout=25 \
  -rss_limit_mb=2048 -print_final_stats=1 -dict="$repo/fuzz/converter.dict" \
  -artifact_prefix="$artifacts/" "$runs/corpus" "$seeds" "$repo/fuzz/corpus" >"$log" 2>&1 ||
  status=$?
rm -rf "$sandbox"

grep -E '^#[0-9]+' "$log" | tail -1 || true  # none when a seed fails at once
echo "findings: $(ls "$artifacts" | wc -l) in $artifacts"
rmdir --ignore-fail-on-non-empty "$artifacts"
if [ "$status" -ne 0 ]; then
  grep -m1 -E 'tessmark invariant broken|ERROR: |runtime error' "$log" || true
  echo "tessmark_fuzzer ended with status $status; see $log" >&2
  exit 1
fi
