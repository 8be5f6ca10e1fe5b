#!/usr/bin/env bash
# Packs the Windows cross build (its package target) and checks that the zip holds the README and
# Tessmark.exe, a Windows program.   check_zip.sh <cross build folder>
set -euo pipefail
cmake --build "$1" --target package >/dev/null
python3 - "$1"/Tessmark-*-Windows.zip <<'PY'
import sys, zipfile
zip = zipfile.ZipFile(sys.argv[1])
top = sys.argv[1].split('/')[-1][:-len('.zip')]
names = sorted(n for n in zip.namelist() if not n.endswith('/'))
assert names == [top + '/README.md', top + '/bin/Tessmark.exe'], names
assert zip.read(top + '/bin/Tessmark.exe')[:2] == b'MZ', 'Tessmark.exe is no Windows program'
PY
