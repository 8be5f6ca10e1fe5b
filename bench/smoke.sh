#!/usr/bin/env bash
# A quick check for CI that the benchmark still measures what it claims: the generator builds,
# its S, M, settings-heavy, case and exclusion workspaces are well-formed XML (xmllint), and the
# converter reads every project to its end (exit status 0, no unexpected-token line) and lists
# every file once per configuration that compiles it (as many lines as the generator counted),
# on the case workspace as the files are spelled on disk; and it bounds
# the converter's memory on inputs too large to commit. No timing is checked.
#
#   bench/smoke.sh [build-dir]      (default: build-bench beside this folder)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-"$(cd "$here/.." && pwd)/build-bench"}
tessmark="$build/bin/Tessmark"
[ -x "$tessmark" ] || { echo "no converter at $tessmark" >&2; exit 2; }
# Always below /tmp, never $TMPDIR: the converter keeps every file's path with $PROJ_DIR$
# expanded, so the peak memory of the large project grows with the length of this folder's path.
scratch=$(mktemp -d /tmp/tessmark-smoke.XXXXXX)
trap 'rm -rf "$scratch"' EXIT

# shellcheck source=bench/bench_lib.sh
. "$here/bench_lib.sh"
generator=$(build_generator "$scratch")

failures=0
for size in S M heavy case excl; do
  ws="$scratch/ws-$size"
  summary=$("$generator" "$size" "$ws" 7)
  listed=${summary##*listed=}
  xmllint --noout "$ws/bench.eww" "$ws"/*/*.ewp
  mkdir "$scratch/out-$size"
  status=0
  "$tessmark" "$ws/bench.eww" "$scratch/out-$size" "" > "$scratch/stdout-$size" || status=$?
  files=$(grep -c "^$ws/" "$scratch/out-$size/bench.prj" || true)
  # The case workspace's sources exist on disk: every file line must name one.
  absent=$(grep "^$ws/" "$scratch/out-$size/bench.prj" | tr -d '\r' | sort -u |
    while IFS= read -r f; do [ "$size" != case ] || [ -e "$f" ] || echo "$f"; done | wc -l)
  if [ "$status" -ne 0 ] || grep -q 'unexpected' "$scratch/stdout-$size" || [ "$files" != "$listed" ] ||
    [ "$absent" -ne 0 ] || ! tail -n 1 "$scratch/stdout-$size" | grep -q '^Korval/Korval++ Project Completed!$'; then
    echo "FAILED: $size: status $status, $files file lines of $listed, $absent not on disk"
    grep 'unexpected' "$scratch/stdout-$size" | head -3 || true
    failures=$((failures + 1))
  else
    echo "ok: $size ($summary)"
  fi
done

# Memory bounds on inputs too large to commit: the converter's peak resident set size against
# its input (no timing). A 50 MB project of 850 000 files within 90 MB (82 MB here, the
# paths of its files taking most); one token of 100 MB, a start tag or a define's text, within
# 400 MB; a million nested elements the grammar does not read, dropped without recursion, within
# 24 MB and read on past them; a workspace entry and a source file path of 300 000 components
# ("a\", "..\", a folder in other case and one that is missing), looked up without a prefix
# copied or kept per component, within 56 MB and 24 MB (opening the project, the standard
# library splits its path into components: 34 MB of the workspace's 38). A child's peak counts
# this script's own (about 16 MB), so the inputs are written piece by piece and the logs searched
# by grep.
python3 - "$tessmark" "$scratch" <<'PY' || failures=$((failures + 1))
import os, subprocess, sys
tessmark, scratch = sys.argv[1], sys.argv[2]
mb = 1 << 20

# lines: (file in the destination, or '' for the log; a grep pattern it must match).
def peak(name, text, bound, reads_to_end=True, wanted_status=0, lines=()):
    path = os.path.join(scratch, name)
    with open(path, 'wb') as f:
        for part in text:
            f.write(part)
    out = os.path.join(scratch, 'mem-' + name)
    os.mkdir(out)
    with open(out + '.log', 'wb') as log:
        child = subprocess.Popen([tessmark, path, out, ''], stdout=log)
        _, status, usage = os.wait4(child.pid, 0)
    status = os.waitstatus_to_exitcode(status)
    # grep, not a read here: this process's own peak would count in the next child's.
    stopped = subprocess.call(['grep', '-q', 'unexpected', out + '.log']) == 0
    found = all(subprocess.call(['grep', '-q', pattern, os.path.join(out, f) if f else out + '.log'])
                == 0 for f, pattern in lines)
    ok = (status == wanted_status and usage.ru_maxrss * 1024 < bound and stopped != reads_to_end
          and found)
    print('%s: %s: peak %d MB (bound %d MB), status %d'
          % ('ok' if ok else 'FAILED', name, usage.ru_maxrss // 1024, bound // mb, status))
    return ok

def large_project():
    yield b'<project>\n'
    for name in (b'Debug', b'Release'):
        yield (b'<configuration><name>' + name + b'</name><settings><name>ICCARM</name><data>'
               b'<option><name>CCDefines</name><state>' + name + b'</state></option>'
               b'<option><name>CCIncludePath2</name><state>$PROJ_DIR$\\inc</state></option>'
               b'</data></settings></configuration>\n')
    for g in range(850):
        yield b'<group><name>group%d</name>\n' % g
        yield b''.join(b'  <file><name>$PROJ_DIR$\\src\\group%d\\file%d.c</name></file>\n'
                       % (g, f) for f in range(1000))
        yield b'</group>\n'
    yield b'</project>\n'

def huge_token(before, filler, after):
    yield before
    for _ in range(100):
        yield filler * mb
    yield after

def nested_foreign(depth):
    yield b'<project><group><name>src</name><file><name>main.c</name></file>\n'
    for _ in range(depth // 1000):
        yield b'<x>' * 1000
    yield b'<file><name>hidden.c</name></file>'
    for _ in range(depth // 1000):
        yield b'</x>' * 1000
    yield b'\n<file><name>last.c</name></file></group></project>\n'

ok = peak('large.ewp', large_project(), 90 * mb)
ok &= peak('tag.ewp', huge_token(b'<project>\n<group ', b't', b'>\n</project>\n'), 400 * mb,
           reads_to_end=False, wanted_status=2)
ok &= peak('text.ewp', huge_token(
    b'<project><configuration><name>Debug</name><settings><data><option><name>CCDefines</name>'
    b'<state>', b'D', b'</state></option></data></settings></configuration>'
    b'<group><name>src</name><file><name>main.c</name></file></group></project>\n'), 400 * mb)
ok &= peak('nested.ewp', nested_foreign(1000000), 24 * mb)

# "a" is a folder here, "A" is not; nothing is below "gone".
os.mkdir(os.path.join(scratch, 'a'))
def deep_path(components):
    for _ in range(components // 4000):
        yield b'a\\..\\A\\gone\\' * 1000

def deep_entry():
    yield b'<?xml version="1.0" encoding="UTF-8"?>\n<workspace>\n  <project>\n    <path>$WS_DIR$\\'
    yield from deep_path(300000)
    yield b'app.ewp</path>\n  </project>\n</workspace>\n'

def deep_source():
    yield b'<project><group><name>src</name>\n<file><name>$PROJ_DIR$\\main.c</name></file>\n'
    yield b'<file><name>$PROJ_DIR$\\'
    yield from deep_path(300000)
    yield b'deep.c</name></file>\n<file><name>$PROJ_DIR$\\last.c</name></file></group></project>\n'

# Such a project file cannot be opened: the run names it and goes on, ending with status 2.
ok &= peak('deep.eww', deep_entry(), 56 * mb, wanted_status=2,
           lines=[('', r'^Could not open file: .*/a/\.\./A/gone/app\.ewp$'),
                  ('', r'^Warning: 1 of 1 project files were not read to their end\.$')])
ok &= peak('deep.ewp', deep_source(), 24 * mb,
           lines=[('deep.prj', r'/a/\.\./A/gone/deep\.c'), ('deep.prj', r'/last\.c'),
                  ('', r'^Korval/Korval++ Project Completed!$')])
sys.exit(0 if ok else 1)
PY
[ "$failures" -eq 0 ]
