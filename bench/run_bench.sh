#!/usr/bin/env bash
# The conversion benchmark (not a test): for each workspace size, the median of several runs of
#   conversion  Tessmark on the generated workspace into a fresh destination folder;
#   floor       reading every input byte (cat to /dev/null) plus `cp -r` of the produced output
#               tree to a fresh folder, on the same machine in the same run;
#   xmllint     `xmllint --noout` on the same project files;
# with the converter's peak resident memory, the ratios conversion/floor and conversion/xmllint
# and the time per output folder entry (the scaling from M to L).
#
#   bench/run_bench.sh [-b build-dir] [-t tessmark] [-r runs] [-s "S M L heavy"] [-w scratch]
#                      [-e seed]
#
# Workspaces and outputs go to the scratch folder (default: $TMPDIR or /tmp, tessmark-bench),
# never into the repository. The machine's load average is printed before and after.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build="$(cd "$here/.." && pwd)/build-bench"
tessmark=""
runs=5
sizes="S M L heavy"
scratch="${TMPDIR:-/tmp}/tessmark-bench"
seed=1
while getopts "b:t:r:s:w:e:" opt; do
  case $opt in
    b) build=$OPTARG ;;
    t) tessmark=$OPTARG ;;
    r) runs=$OPTARG ;;
    s) sizes=$OPTARG ;;
    w) scratch=$OPTARG ;;
    e) seed=$OPTARG ;;
    *) exit 2 ;;
  esac
done
tessmark=${tessmark:-$build/bin/Tessmark}
[ -x "$tessmark" ] || { echo "no converter at $tessmark" >&2; exit 2; }
command -v xmllint > /dev/null || { echo "xmllint is missing (apt-get install libxml2-utils)" >&2; exit 2; }
mkdir -p "$scratch"

# shellcheck source=bench/bench_lib.sh
. "$here/bench_lib.sh"
generator=$(build_generator "$scratch")

# Seconds elapsed since $1 (an EPOCHREALTIME value), printed with microseconds.
since() { awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.6f", b - a }'; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

time_conversion() {  # workspace dest
  rm -rf "$2" && mkdir "$2"
  local t0=$EPOCHREALTIME
  "$tessmark" "$1/bench.eww" "$2" "" > "$2.stdout"
  since "$t0"
}

time_floor() {  # workspace produced-output copy
  rm -rf "$3"
  local t0=$EPOCHREALTIME
  cat "$1/bench.eww" "$1"/*/*.ewp > /dev/null
  cp -r "$2" "$3"
  since "$t0"
}

time_xmllint() {  # workspace
  local t0=$EPOCHREALTIME
  xmllint --noout "$1"/*/*.ewp
  since "$t0"
}

bench_size() {  # size
  local size=$1 ws="$scratch/ws-$1" out="$scratch/out-$1" copy="$scratch/copy-$1"
  rm -rf "$ws"
  "$generator" "$size" "$ws" "$seed" > "$scratch/gen-$size.txt"
  # One untimed run: warms the caches, measures the peak memory, gives the tree to copy.
  rm -rf "$out" && mkdir "$out"
  /usr/bin/time -f %M -o "$scratch/rss-$size" "$tessmark" "$ws/bench.eww" "$out" "" > /dev/null
  local conv=() floor=() lint=() i
  for ((i = 0; i < runs; i++)); do
    conv+=("$(time_conversion "$ws" "$out")")
    floor+=("$(time_floor "$ws" "$out" "$copy")")
    lint+=("$(time_xmllint "$ws")")
  done
  local entries folders inputs
  entries=$(grep -c '^StartProjectMarker' "$out/bench.prj" || true)
  folders=$(find "$out" -type d | wc -l)
  inputs=$(cat "$ws/bench.eww" "$ws"/*/*.ewp | wc -c)
  printf '%s %s %s %s %s %s %s %s\n' "$size" "$inputs" "$entries" "$folders" \
    "$(printf '%s\n' "${conv[@]}" | median)" "$(printf '%s\n' "${floor[@]}" | median)" \
    "$(printf '%s\n' "${lint[@]}" | median)" "$(cat "$scratch/rss-$size")" >> "$scratch/results"
  rm -rf "$copy"
}

echo "converter: $tessmark"
echo "machine: $(nproc) cores; load average before: $(cut -d' ' -f1-3 /proc/loadavg); runs per size: $runs; seed: $seed"
rm -f "$scratch/results"
for size in $sizes; do
  bench_size "$size"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
print_table "$scratch/results"
