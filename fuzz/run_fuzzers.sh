#!/bin/bash
# Runs each libFuzzer target in turn for a given time, then prints per target the executions,
# the coverage reached (libFuzzer's "cov:" edges and "ft:" features) and the findings.
#
#   fuzz/run_fuzzers.sh [-t SECONDS] [-b BUILD] [TARGET...]
#     -t SECONDS  time per target (default 300); CI uses 30
#     -b BUILD    build folder (default: build-fuzz beside this folder), configured with clang
#     TARGET      project, workspace, command_line (default: all three, one after the other)
#
# Seeds are read where they live, never copied into the repository: the test fixtures
# (tests/cases/*/input, turned into command lines for the command-line target), the real IAR
# files in ../shared/real-world when present, and the checked-in corpus fuzz/corpus/TARGET,
# which holds the inputs of past findings, so every run replays them first. New inputs go to
# BUILD/fuzz-runs/TARGET/corpus, kept between runs; findings to .../artifacts. Exit status 1 when
# any target found something.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
seconds=300
build=$repo/build-fuzz
while getopts "t:b:" option; do
  case $option in
    t) seconds=$OPTARG ;;
    b) build=$OPTARG ;;
    *) sed -n '2,9p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(project workspace command_line)
real_world=$repo/../shared/real-world

build_targets() {
  if [ ! -f "$build/build.ninja" ]; then
    CXX=${CXX:-clang++} cmake -S "$repo" -B "$build" -G Ninja -DTESSMARK_BUILD_FUZZ=ON \
      -DTESSMARK_BUILD_TESTS=OFF -DTESSMARK_BUILD_WIZARD=OFF -DTESSMARK_WINDOWS_SUITE=OFF >/dev/null
  fi
  local names=()
  for target in "${targets[@]}"; do names+=("tessmark_${target}_fuzzer"); done
  cmake --build "$build" -j2 --target "${names[@]}"
}

# Links every fixture file with the given extension into the seed folder, under unique names.
link_fixtures() {
  local seeds=$1 extension=$2 n=0
  local roots=("$repo/tests/cases")
  [ -d "$real_world" ] && roots+=("$real_world")
  while IFS= read -r -d '' file; do
    n=$((n + 1))
    ln -s "$file" "$seeds/fixture-$n$extension"
  done < <(find "${roots[@]}" -type f -name "*$extension" -print0)
}

# The command lines of the end-to-end cases, with the temporary folder made relative.
write_command_lines() {
  local seeds=$1
  for args in "$repo"/tests/cases/*/args; do
    local name
    name=$(basename "$(dirname "$args")")
    printf '%s' "$(sed 's#{TMP}/##g; s#{TMP}#.#g' "$args")" >"$seeds/case-$name"
  done
}

make_seeds() {
  local target=$1 seeds=$2
  rm -rf "$seeds"
  mkdir -p "$seeds"
  case $target in
    project) link_fixtures "$seeds" .ewp ;;
    workspace) link_fixtures "$seeds" .eww ;;
    command_line) write_command_lines "$seeds" ;;
  esac
}

# Prints one summary line from a libFuzzer log and the artifacts folder.
summarize() {
  local target=$1 log=$2 artifacts=$3
  local execs rate last cov ft corpus findings
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corpus=$(sed -n 's/.* corp: \([0-9]*\/[0-9]*[a-zA-Z]*\).*/\1/p' <<<"$last")
  findings=$(find "$artifacts" -type f | wc -l)
  printf '%-13s %10s %8s %7s %7s %12s %9s\n' "$target" "${execs:-?}" "${rate:-?}" "${cov:-?}" \
    "${ft:-?}" "${corpus:-?}" "$findings"
}

run_target() {
  local target=$1
  local dir=$build/fuzz-runs/$target
  local seeds=$dir/seeds artifacts=$dir/artifacts log=$dir/last.log
  mkdir -p "$dir/corpus" "$artifacts" "$dir/earlier-artifacts" "$repo/fuzz/corpus/$target"
  # Findings of earlier runs were reported then; keep them aside, out of this run's count.
  find "$artifacts" -type f -exec mv -t "$dir/earlier-artifacts" {} +
  make_seeds "$target" "$seeds"
  local sandbox_parent=/tmp
  [ -d /dev/shm ] && [ -w /dev/shm ] && sandbox_parent=/dev/shm
  local sandbox
  sandbox=$(mktemp -d "$sandbox_parent/tessmark-fuzz-run-XXXXXX")
  local status=0
  TESSMARK_FUZZ_TMP=$sandbox "$build/bin/tessmark_${target}_fuzzer" \
    -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -print_final_stats=1 \
    -dict="$repo/fuzz/$target.dict" -artifact_prefix="$artifacts/" \
    "$dir/corpus" "$seeds" "$repo/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
  rm -rf "$sandbox"
  if [ "$status" -ne 0 ] && [ -z "$(ls -A "$artifacts")" ]; then
    echo "tessmark_${target}_fuzzer ended with status $status and no finding; see $log" >&2
    return 1
  fi
}

build_targets
failed=0
for target in "${targets[@]}"; do
  echo "fuzzing $target for ${seconds}s ..." >&2
  run_target "$target" || failed=1
done

printf '%-13s %10s %8s %7s %7s %12s %9s\n' target executions exec/s cov ft corpus findings
for target in "${targets[@]}"; do
  dir=$build/fuzz-runs/$target
  summarize "$target" "$dir/last.log" "$dir/artifacts"
  for finding in "$dir"/artifacts/*; do
    [ -e "$finding" ] || continue
    failed=1
    echo "  finding: $finding" >&2
    grep -m1 -E 'tessmark invariant broken|ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error' \
      "$dir/last.log" | sed 's/^/    /' >&2 || true
  done
done
exit $failed
