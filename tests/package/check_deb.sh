#!/usr/bin/env bash
# Makes the two Debian packages of a build and checks them as a user and a Debian reviewer receive
# them: the files of each, their dependencies, lintian (which also rejects run paths and manual
# page warnings), the programs' hardening, the manual pages, the desktop entry, and a conversion
# of the example workspace by the packaged Tessmark. Nothing is installed into the system.
#   check_deb.sh <build folder> <source folder> <package version>
set -euo pipefail
build=$1 src=$2 version=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
deb=$build/tessmark_${version}_$(dpkg --print-architecture).deb
wizard=${deb/tessmark_/tessmark-wizard_}
rm -f "$build"/*.deb
cmake --build "$build" --target package >"$build/package-check.log" 2>&1 ||
  { cat "$build/package-check.log"; fail "the package target failed"; }

# Exactly these dependencies (the converter needs only the C and C++ runtimes, the wizard Qt and
# this very converter) and files, with their modes and owners, folders all rwxr-xr-x root/root:
# nothing from the build or the tests slips in.
contents() {
  dpkg-deb -f "$1" Depends | sed -E 's/^/Depends: /; s/ \(>= [^)]*\)//g'
  dpkg-deb -c "$1" | awk '!/^drwxr-xr-x root\/root / {print $1, $2, substr($0, index($0, "./"))}'
}
diff - <(contents "$deb"; contents "$wizard") <<EOF || fail "dependencies or files of the packages"
Depends: libc6, libgcc-s1, libstdc++6
-rwxr-xr-x root/root ./usr/bin/Tessmark
lrwxrwxrwx root/root ./usr/bin/tessmark -> Tessmark
-rw-r--r-- root/root ./usr/share/doc/tessmark/README.md
-rw-r--r-- root/root ./usr/share/doc/tessmark/changelog.Debian.gz
-rw-r--r-- root/root ./usr/share/doc/tessmark/copyright
-rw-r--r-- root/root ./usr/share/lintian/overrides/tessmark
-rw-r--r-- root/root ./usr/share/man/man1/Tessmark.1.gz
lrwxrwxrwx root/root ./usr/share/man/man1/tessmark.1.gz -> Tessmark.1.gz
Depends: tessmark (= $version), libc6, libgcc-s1, libqt6core6, libqt6gui6, libqt6widgets6, libstdc++6
-rwxr-xr-x root/root ./usr/bin/tessmark-wizard
-rw-r--r-- root/root ./usr/share/applications/tessmark-wizard.desktop
-rw-r--r-- root/root ./usr/share/doc/tessmark-wizard/changelog.Debian.gz
-rw-r--r-- root/root ./usr/share/doc/tessmark-wizard/copyright
-rw-r--r-- root/root ./usr/share/icons/hicolor/48x48/apps/tessmark-wizard.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/tessmark-wizard.svg
-rw-r--r-- root/root ./usr/share/lintian/overrides/tessmark-wizard
-rw-r--r-- root/root ./usr/share/man/man1/tessmark-wizard.1.gz
EOF
command -v lintian >/dev/null ||
  { echo "lintian check SKIPPED: lintian is not installed (apt-get install lintian)"; lintian() { :; }; }
lintian --fail-on error,warning -I --pedantic "$deb" "$wizard" || fail "lintian, above"

x=$(mktemp -d)
trap 'rm -rf "$x"' EXIT
dpkg-deb -x "$deb" "$x/root" && dpkg-deb -x "$wizard" "$x/root"
bin=$x/root/usr/bin
hardening-check --nocfprotection "$bin/Tessmark" "$bin/tessmark-wizard" >"$x/log" ||
  fail "hardening-check (package devscripts): $(cat "$x/log")"

# The packaged program, called by its lower-case name, prints and writes exactly what the built
# one, which the cases pin, does (the same destination path makes the same lines), and succeeds.
for program in "$bin/tessmark" "$build/bin/Tessmark"; do
  mkdir "$x/out" && (cd "$src/examples/motor" && "$program" motor.eww "$x/out" "" >"$x/log") ||
    fail "$program exited with $?: $(cat "$x/log")"
  mv "$x/log" "$x/out/console" && mv "$x/out" "$x/${program##*/}"
done
diff -r "$x/tessmark" "$x/Tessmark" || fail "the packaged Tessmark converts otherwise than the built one"

# Stricter than lintian, which also checks that the entry's command is in the package.
problems=$(desktop-file-validate "$x/root/usr/share/applications/tessmark-wizard.desktop" 2>&1) &&
  [[ -z $problems ]] || fail "desktop entry: $problems"

# man finds the converter's page by its lower-case name too.
grep -qE '^ +Tessmark +- +convert' <<<"$(LC_ALL=C.UTF-8 man -M "$x/root/usr/share/man" tessmark)" ||
  fail "man tessmark does not show the converter's page"
echo "$deb and $wizard: checked"
