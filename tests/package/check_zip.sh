#!/usr/bin/env bash
# Packs the Windows cross build (its package target) and checks that the zip holds exactly the
# README, the LICENSE as the repository has it, and Tessmark.exe, a Windows program.
#   check_zip.sh <cross build folder> <source folder> <version>
set -euo pipefail
build=$1 src=$2 version=$3
cmake --build "$build" --target package >/dev/null
python3 - "$build/Tessmark-$version-Windows.zip" "$src/LICENSE" <<'PY'
import sys, zipfile
zip = zipfile.ZipFile(sys.argv[1])
top = sys.argv[1].split('/')[-1][:-len('.zip')]
names = sorted(n for n in zip.namelist() if not n.endswith('/'))
assert names == [top + '/LICENSE', top + '/README.md', top + '/bin/Tessmark.exe'], names
assert zip.read(top + '/bin/Tessmark.exe')[:2] == b'MZ', 'Tessmark.exe is no Windows program'
assert zip.read(top + '/LICENSE') == open(sys.argv[2], 'rb').read(), 'LICENSE differs'
PY
