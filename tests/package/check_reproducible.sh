#!/usr/bin/env bash
# Makes the Debian packages twice with the packager's configure, from clean clones of the last
# commit in two folders of different names and depths (one built inside its clone, one beside
# it), with the commit's time as SOURCE_DATE_EPOCH, and checks that the .deb files are byte for
# byte the same. Uncommitted changes are not part of it.   check_reproducible.sh
set -euo pipefail
src=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
x=$(mktemp -d)
trap 'rm -rf "$x"' EXIT
SOURCE_DATE_EPOCH=$(git -C "$src" log -1 --format=%ct)
export SOURCE_DATE_EPOCH
for pair in a/tessmark:a/tessmark/build b/deeper/clone:b/build; do
  tree=$x/${pair%:*} build=$x/${pair#*:}
  git clone -q --no-checkout "$src" "$tree" && git -C "$tree" checkout -q "$(git -C "$src" rev-parse HEAD)"
  { cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSMARK_BUILD_TESTS=OFF &&
    cmake --build "$build" --target package; } >"$x/log" 2>&1 || { cat "$x/log"; exit 1; }
done
# Both packages, compared byte for byte (cmp names the first difference).
for deb in tessmark tessmark-wizard; do cmp "$x"/{a/tessmark,b}/build/${deb}_*.deb; done
echo "Reproducible, byte for byte: $(cd "$x/b/build" && echo ./*.deb)"
