#!/usr/bin/env bash
# Packs the Windows cross build (its package target) and checks that the zip holds exactly the
# README, the LICENSE as the repository has it, and Tessmark.exe, a Windows program whose version
# resource names the product, this version and the copyright of LICENSE.
#   check_zip.sh <cross build folder> <source folder> <version>
set -euo pipefail
build=$1 src=$2 version=$3
rm -f "$build"/Tessmark-*-Windows.zip # so that an older zip is never the one checked
cmake --build "$build" --target package >/dev/null
python3 - "$build/Tessmark-$version-Windows.zip" "$src/LICENSE" "$version" <<'PY'
import re, subprocess, sys, tempfile, zipfile
zip = zipfile.ZipFile(sys.argv[1])
licence, version = open(sys.argv[2], 'rb').read(), sys.argv[3]
top = sys.argv[1].split('/')[-1][:-len('.zip')]
names = sorted(n for n in zip.namelist() if not n.endswith('/'))
assert names == [top + '/LICENSE', top + '/README.md', top + '/bin/Tessmark.exe'], names
exe = zip.read(top + '/bin/Tessmark.exe')
assert exe[:2] == b'MZ', 'Tessmark.exe is no Windows program'
assert zip.read(top + '/LICENSE') == licence, 'LICENSE differs'

# windres reads the resources back out of the executable and fails when it has none.
with tempfile.NamedTemporaryFile(suffix='.exe') as copy:
    copy.write(exe)
    copy.flush()
    rc = subprocess.run(['x86_64-w64-mingw32-windres', '-i', copy.name, '-O', 'rc'],
                        check=True, capture_output=True, text=True).stdout
numbers = ', '.join((version.split('.') + ['0'] * 4)[:4])
copyright = re.search(rb'Copyright \(c\) [^\n]+', licence).group().decode()
for line in [f'FILEVERSION {numbers}', f'PRODUCTVERSION {numbers}', 'FILETYPE 0x1',
             f'VALUE "FileVersion", "{version}"', f'VALUE "ProductVersion", "{version}"',
             'VALUE "ProductName", "Tessmark"', 'VALUE "OriginalFilename", "Tessmark.exe"',
             f'VALUE "LegalCopyright", "{copyright}"', 'VALUE "FileDescription", ']:
    assert re.search(r'^\s*' + re.escape(line), rc, re.M), f'no {line} in the resource:\n{rc}'
PY
