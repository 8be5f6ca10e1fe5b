#!/usr/bin/env bash
# Checks that the converter of the working tree does exactly what the converter of a reference
# revision (by default the last one before the output was buffered) does on the benchmark
# workspaces: same exit status, same console lines, same files and folders byte for byte.
# Besides a conversion into a fresh folder it covers the states the buffering and the skipped
# repeated work must respect: a second run into the same folder, default personalities left
# with text by an earlier run, the user's analyser personality read from a default
# personality or from the project file being written, given personalities, an extension list,
# default personalities that are links to the project file and to a generated personality,
# and runs that end with an error half-way (a file where a folder must go, a folder where a
# personality file must go). Against a revision before the writers used temporary files and kept
# the default personalities, only the fresh and second runs and the given personalities can
# match: the others now give the kept defaults, the old text of the user's personality and no
# project file after a failure (bench/README.md).
#
#   bench/check_identical.sh [-b build-dir] [-r revision] [-s "S M L heavy"] [-w scratch]
#
# The reference is exported with `git archive` and built (Release, converter only) in the
# scratch folder, outside the repository. Exit status 0 when every run matched.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
build="$repo/build-bench"
revision=efe5c16  # the last revision before the output was buffered
sizes="S M L heavy"
scratch="${TMPDIR:-/tmp}/tessmark-identical"
while getopts "b:r:s:w:" opt; do
  case $opt in
    b) build=$OPTARG ;;
    r) revision=$OPTARG ;;
    s) sizes=$OPTARG ;;
    w) scratch=$OPTARG ;;
    *) exit 2 ;;
  esac
done
current="$build/bin/Tessmark"
[ -x "$current" ] || { echo "no converter at $current" >&2; exit 2; }
mkdir -p "$scratch"
# shellcheck source=bench/bench_lib.sh
. "$here/bench_lib.sh"
generator=$(build_generator "$scratch")

build_reference() {
  local commit src bin
  commit=$(git -C "$repo" rev-parse --short "$revision^{commit}")
  src="$scratch/ref-$commit"
  bin="$src/build/bin/Tessmark"
  if [ ! -x "$bin" ]; then
    rm -rf "$src" && mkdir -p "$src"
    git -C "$repo" archive "$commit" | tar -x -C "$src"
    cmake -S "$src" -B "$src/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DTESSMARK_BUILD_TESTS=OFF -DTESSMARK_BUILD_WIZARD=OFF > "$src/configure.log"
    cmake --build "$src/build" --target Tessmark -j2 > "$src/build.log"
  fi
  echo "$bin"
}

# Sets up the destination folder $1 for scenario $2 of workspace $3 and prints the extra
# arguments, one per line. The state before a second run is made by the reference converter,
# so both converters start from the same files.
prepare() {
  local dest=$1 scenario=$2 ws=$3 middle
  middle=$(basename "$(find "$ws" -name '*.ewp' | sort | awk '{ p[NR] = $0 } END { print p[int(NR / 2) + 1] }')" .ewp)
  rm -rf "$dest" && mkdir -p "$dest"
  case $scenario in
    fresh) ;;
    rerun) "$reference" "$ws/bench.eww" "$dest" "" > /dev/null ;;
    leftovers)
      mkdir -p "$dest/person"
      printf 'old message\r\n' > "$dest/person/bench.p_s"
      printf -- '-d "OLD"\r\n' > "$dest/person/bench.p_c"
      printf -- '-i "old"\r\n' > "$dest/person/bench.p_a"
      printf -- '-ext\nc,h\n' ;;
    user-from-default)
      mkdir -p "$dest/person"
      printf -- '-d "FROM_P_C"\n-d "SECOND"\n' > "$dest/person/bench.p_c"
      printf -- '-ap\n%s\n' "$dest/person/bench.p_c" ;;
    user-from-project) printf -- '-ap\n%s\n' "$dest/bench.prj" ;;
    given)
      printf 'user text\n' > "$scratch/user.p_a"
      printf -- '-mp\n%s\n-ap\n%s\n-cp\n%s\n-ext\nc,s\n' "$scratch/m.p_s" "$scratch/user.p_a" \
        "$scratch/c.p_c" ;;
    linked-defaults)
      mkdir -p "$dest/person"
      ln -s ../bench.prj "$dest/person/bench.p_c"
      ln -s "../bench/$middle/Debug/person/Debug.p_a" "$dest/person/bench.p_s" ;;
    file-for-folder)
      mkdir -p "$dest/bench/$middle"
      printf 'in the way\n' > "$dest/bench/$middle/Release" ;;
    folder-for-file)
      mkdir -p "$dest/bench/$middle/Release/person/Release.p_a"
      printf 'user text\n' > "$scratch/user.p_a"
      printf -- '-ap\n%s\n' "$scratch/user.p_a" ;;
  esac
}

# Runs converter $1 on workspace $2 for scenario $3; leaves its results in folder $4.
run_one() {
  local bin=$1 ws=$2 scenario=$3 result=$4 dest="$scratch/dest" status=0 extra=()
  mapfile -t extra < <(prepare "$dest" "$scenario" "$ws")
  "$bin" "$ws/bench.eww" "$dest" "" "${extra[@]}" > "$scratch/stdout" || status=$?
  rm -rf "$result" && mkdir -p "$result"
  mv "$dest" "$result/tree"
  mv "$scratch/stdout" "$result/stdout"
  echo "$status" > "$result/status"
  for f in m.p_s c.p_c; do
    if [ -e "$scratch/$f" ]; then mv "$scratch/$f" "$result/$f"; fi
  done
}

# The project file as the user's analyser personality is copied once per configuration, which
# grows too big beyond M; L, the slowest, keeps to the scenarios that matter most.
scenarios_for() {
  case $1 in
    S | M) echo "fresh rerun leftovers user-from-default user-from-project given linked-defaults file-for-folder folder-for-file" ;;
    heavy) echo "fresh rerun leftovers user-from-default given file-for-folder folder-for-file" ;;
    *) echo "fresh rerun leftovers file-for-folder folder-for-file" ;;
  esac
}

reference=$(build_reference)
echo "reference: $reference ($revision)"
echo "current:   $current"
failures=0
for size in $sizes; do
  ws="$scratch/ws-$size"
  rm -rf "$ws"
  "$generator" "$size" "$ws" 1 > /dev/null
  for scenario in $(scenarios_for "$size"); do
    run_one "$reference" "$ws" "$scenario" "$scratch/result-ref"
    run_one "$current" "$ws" "$scenario" "$scratch/result-new"
    if diff -r "$scratch/result-ref" "$scratch/result-new" > "$scratch/diff.txt"; then
      echo "same: $size $scenario (status $(cat "$scratch/result-new/status"), $(wc -l < "$scratch/result-new/stdout") console lines)"
    else
      echo "DIFFERENT: $size $scenario"
      head -20 "$scratch/diff.txt"
      failures=$((failures + 1))
    fi
  done
  rm -rf "$ws" "$scratch/result-ref" "$scratch/result-new"
done
[ "$failures" -eq 0 ] && echo "all runs identical" || echo "$failures run(s) differ"
[ "$failures" -eq 0 ]
