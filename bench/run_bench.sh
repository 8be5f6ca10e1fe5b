#!/usr/bin/env bash
# The conversion benchmark (not a test): for each workspace size, the median of several runs of
#   conversion  Tessmark on the generated workspace into a fresh destination folder;
#   floor       reading every input byte (cat to /dev/null) plus `cp -r` of the produced output
#               tree to a fresh folder, on the same machine in the same run;
#   xmllint     `xmllint --noout` on the same project files;
# with the converter's peak resident memory, the ratios conversion/floor and conversion/xmllint
# and the time per output folder entry (the scaling from M to L). Folder entries, folders and the
# floor's copy are those of the first converter's output.
#
#   bench/run_bench.sh [-b build-dir] [-t [label=]tessmark]... [-r runs] [-s "S M L heavy case excl"]
#                      [-w scratch] [-e seed]
#
# Several -t options time several converters in the same runs, one after the other within each
# run (for a before/after comparison under the same load); the default is the build's Tessmark.
# Workspaces and outputs go to the scratch folder (default: $TMPDIR or /tmp, tessmark-bench),
# never into the repository. The machine's load average is printed before and after.
#
# Every timed run writes into a folder of its own, and all of them are removed only at the end:
# for minutes after tens of thousands of inodes were freed, ext4 searches past them when it
# allocates new ones, and creating folders then costs several times more, in the conversion and
# in the floor's copy alike. Run it when no large tree was removed in the last five minutes.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build="$(cd "$here/.." && pwd)/build-bench"
converters=()
runs=5
sizes="S M L heavy case excl"
scratch="${TMPDIR:-/tmp}/tessmark-bench"
seed=1
while getopts "b:t:r:s:w:e:" opt; do
  case $opt in
    b) build=$OPTARG ;;
    t) converters+=("$OPTARG") ;;
    r) runs=$OPTARG ;;
    s) sizes=$OPTARG ;;
    w) scratch=$OPTARG ;;
    e) seed=$OPTARG ;;
    *) exit 2 ;;
  esac
done
[ ${#converters[@]} -gt 0 ] || converters=("$build/bin/Tessmark")
labels=() binaries=()
for c in "${converters[@]}"; do
  if [[ $c == *=* ]]; then labels+=("${c%%=*}") binaries+=("${c#*=}"); else labels+=("") binaries+=("$c"); fi
  [ -x "${binaries[-1]}" ] || { echo "no converter at ${binaries[-1]}" >&2; exit 2; }
done
command -v xmllint > /dev/null || { echo "xmllint is missing (apt-get install libxml2-utils)" >&2; exit 2; }
mkdir -p "$scratch"

# shellcheck source=bench/bench_lib.sh
. "$here/bench_lib.sh"
generator=$(build_generator "$scratch")

# Each timing runs in a subshell of its own and prints "wall-seconds cpu-seconds": the wall
# clock from EPOCHREALTIME, the processor time (user + system) of the subshell's children from
# `times`. The processor time suffers less from other jobs on the machine than the wall clock.
# report_since ends a timing begun at the EPOCHREALTIME value $1, with builtins only until
# `times` has been written: any child process (a pipe, a command substitution) would count.
report_since() {
  local now=${EPOCHREALTIME/./} start=${1/./} wall
  times > "$scratch/times"
  printf -v wall '%d.%06d' $(((now - start) / 1000000)) $(((now - start) % 1000000))
  awk -v wall="$wall" 'NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/)
    printf "%s %.3f\n", wall, u[1] * 60 + u[2] + s[1] * 60 + s[2] }' "$scratch/times"
}
median() {  # of column $1 of the lines on standard input
  awk -v c="$1" '{ print $c }' | sort -g |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

time_conversion() {  # converter workspace dest (made empty beforehand)
  local t0=$EPOCHREALTIME
  "$1" "$2/bench.eww" "$3" "" > "$3.stdout"
  report_since "$t0"
}

time_floor() {  # workspace produced-output copy
  local t0=$EPOCHREALTIME
  cat "$1/bench.eww" "$1"/*/*.ewp > /dev/null
  cp -r "$2" "$3"
  report_since "$t0"
}

time_xmllint() {  # workspace
  local t0=$EPOCHREALTIME
  xmllint --noout "$1"/*/*.ewp
  report_since "$t0"
}

# Appends one line per converter to the results: label, size, input bytes, folder entries,
# folders, median wall seconds of conversion, floor and xmllint, median processor seconds of
# the same three, peak RSS in KB.
bench_size() {  # size
  local size=$1 ws="$scratch/ws-$1" trees="$scratch/trees/$1" i k
  "$generator" "$size" "$ws" "$seed" > "$scratch/gen-$size.txt"
  mkdir "$trees"
  # One untimed run each: warms the caches, measures the peak memory, gives the tree to copy.
  for k in "${!binaries[@]}"; do
    mkdir "$trees/warm-$k"
    /usr/bin/time -f %M -o "$scratch/rss-$k" "${binaries[$k]}" "$ws/bench.eww" "$trees/warm-$k" "" > /dev/null
  done
  local conv=() floor=() lint=()
  for ((i = 0; i < runs; i++)); do
    for k in "${!binaries[@]}"; do
      mkdir "$trees/out-$k-$i"
      conv+=("$k $(time_conversion "${binaries[$k]}" "$ws" "$trees/out-$k-$i")")
    done
    floor+=("$(time_floor "$ws" "$trees/warm-0" "$trees/copy-$i")")
    lint+=("$(time_xmllint "$ws")")
  done
  local entries folders inputs floors
  entries=$(grep -c '^StartProjectMarker' "$trees/warm-0/bench.prj" || true)
  folders=$(find "$trees/warm-0" -type d | wc -l)
  inputs=$(cat "$ws/bench.eww" "$ws"/*/*.ewp | wc -c)
  for k in "${!binaries[@]}"; do
    local mine
    mine=$(printf '%s\n' "${conv[@]}" | awk -v k="$k" '$1 == k { print $2, $3 }')
    echo "${labels[$k]:--} $size $inputs $entries $folders" \
      "$(median 1 <<< "$mine") $(printf '%s\n' "${floor[@]}" | median 1) $(printf '%s\n' "${lint[@]}" | median 1)" \
      "$(median 2 <<< "$mine") $(printf '%s\n' "${floor[@]}" | median 2) $(printf '%s\n' "${lint[@]}" | median 2)" \
      "$(cat "$scratch/rss-$k")" >> "$scratch/results"
  done
}

for k in "${!binaries[@]}"; do echo "converter ${labels[$k]:--}: ${binaries[$k]}"; done
echo "machine: $(nproc) cores; load average before: $(cut -d' ' -f1-3 /proc/loadavg); runs per size: $runs; seed: $seed"
rm -rf "$scratch/trees" "$scratch/results" "$scratch"/ws-*
if [ -e "$scratch/removed" ] && [ $(($(date +%s) - $(stat -c %Y "$scratch/removed"))) -lt 300 ]; then
  echo "note: the last benchmark removed its folders less than five minutes ago (see above)"
fi
mkdir "$scratch/trees"
for size in $sizes; do
  bench_size "$size"
done
rm -rf "$scratch/trees" && touch "$scratch/removed"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
print_table "$scratch/results"
