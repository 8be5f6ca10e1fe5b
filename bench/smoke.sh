#!/usr/bin/env bash
# A quick check for CI that the benchmark still measures what it claims: the generator builds,
# its S, M and settings-heavy workspaces are well-formed XML (xmllint), and the converter reads
# every project to its end (exit status 0, no unexpected-token line) and lists every file once
# per configuration. No timing is checked.
#
#   bench/smoke.sh [build-dir]      (default: build-bench beside this folder)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-"$(cd "$here/.." && pwd)/build-bench"}
tessmark="$build/bin/Tessmark"
[ -x "$tessmark" ] || { echo "no converter at $tessmark" >&2; exit 2; }
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessmark-smoke.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# shellcheck source=bench/bench_lib.sh
. "$here/bench_lib.sh"
generator=$(build_generator "$scratch")

failures=0
for size in S M heavy; do
  ws="$scratch/ws-$size"
  summary=$("$generator" "$size" "$ws" 7)
  listed=${summary##*listed=}
  xmllint --noout "$ws/bench.eww" "$ws"/*/*.ewp
  mkdir "$scratch/out-$size"
  status=0
  "$tessmark" "$ws/bench.eww" "$scratch/out-$size" "" > "$scratch/stdout-$size" || status=$?
  files=$(grep -c "^$ws/" "$scratch/out-$size/bench.prj" || true)
  if [ "$status" -ne 0 ] || grep -q 'unexpected' "$scratch/stdout-$size" || [ "$files" != "$listed" ] ||
    ! tail -n 1 "$scratch/stdout-$size" | grep -q '^Korval/Korval++ Project Completed!$'; then
    echo "FAILED: $size: status $status, $files file lines of $listed"
    grep 'unexpected' "$scratch/stdout-$size" | head -3 || true
    failures=$((failures + 1))
  else
    echo "ok: $size ($summary)"
  fi
done
[ "$failures" -eq 0 ]
