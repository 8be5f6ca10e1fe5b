#!/usr/bin/env bash
# Makes the Debian package of a build and checks it as a user receives it: metadata, files,
# the programs' run paths and libraries, the desktop entry, the manual page, and a conversion of
# the example workspace by the packaged Tessmark. Nothing is installed into the system.
#   check_deb.sh <build folder> <source folder> <version>
set -euo pipefail
build=$1 src=$2 version=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
deb=$build/tessmark_${version}_$(dpkg --print-architecture).deb
rm -f "$deb"
cmake --build "$build" --target package >"$build/package-check.log" 2>&1 ||
  { cat "$build/package-check.log"; fail "the package target failed"; }
[[ -f $deb ]] || fail "$deb was not made (is dpkg-dev installed?)"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package)/$(field Version)/$(field Section) == "tessmark/$version/devel" ]] ||
  fail "Package/Version/Section: $(field Package)/$(field Version)/$(field Section)"
[[ $(field Maintainer) == *?' <'*@*'>' ]] || fail "Maintainer: $(field Maintainer)"
(($(field Description | wc -l) > 2)) || fail "no long description"
depends=$(field Depends | tr ',' '\n' | awk '{print $1}')
for package in libc6 libstdc++6 libqt6widgets6; do
  grep -qxF "$package" <<<"$depends" || fail "Depends lacks $package: $(field Depends)"
done

# Exactly these files, owned by root; nothing from the build or the tests slips in.
usr=./usr/share
expected="./usr/bin/Tessmark ./usr/bin/tessmark-wizard $usr/applications/tessmark-wizard.desktop
$usr/doc/tessmark/README.md $usr/icons/hicolor/scalable/apps/tessmark-wizard.svg
$usr/man/man1/Tessmark.1"
listing=$(dpkg-deb -c "$deb")
files=$(awk '$1 !~ /^d/ {print $6}' <<<"$listing" | sort | xargs)
[[ $files == "$(xargs <<<"$expected")" ]] || fail "files: $files"
[[ -z $(awk '$2 != "root/root"' <<<"$listing") ]] || fail "files not owned by root: $listing"

x=$(mktemp -d)
trap 'rm -rf "$x"' EXIT
dpkg-deb -x "$deb" "$x/root"
bin=$x/root/usr/bin
# Installed programs find Debian's libraries without a run path; one into the build tree is a
# leak. The wizard comes first so that the converter's dynamic section is left for the last check.
for program in tessmark-wizard Tessmark; do
  [[ -x $bin/$program ]] || fail "$program is not executable"
  dynamic=$(readelf -d "$bin/$program") || fail "$program is not a program for this system"
  ! grep -E 'R(UN)?PATH' <<<"$dynamic" || fail "$program carries a run path"
done
! sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' <<<"$dynamic" |
  grep -vxE 'lib(c|m|gcc_s|stdc\+\+)\.so\.[0-9]+' || fail "Tessmark needs more than libc/libstdc++"

out=$x/out
mkdir "$out"
(cd "$src/examples/motor" && "$bin/Tessmark" motor.eww "$out" "" >"$x/log") ||
  fail "Tessmark exited with $?: $(cat "$x/log")"
grep -qx 'Korval/Korval++ Project Completed!' "$x/log" || fail "not completed: $(cat "$x/log")"
[[ $(tail -n 1 "$out/motor.prj") == $'EndSubProjectMarker\r' ]] || fail "motor.prj is incomplete"
# The packaged program writes exactly what the built one, which the cases pin, writes.
mv "$out" "$x/packaged" && mkdir "$out"
(cd "$src/examples/motor" && "$build/bin/Tessmark" motor.eww "$out" "" >/dev/null)
diff -r "$x/packaged" "$out" || fail "the packaged Tessmark writes other files than the built one"

entry=$x/root/usr/share/applications/tessmark-wizard.desktop
problems=$(desktop-file-validate "$entry" 2>&1) && [[ -z $problems ]] ||
  fail "desktop entry: $problems"
grep -qx "Exec=tessmark-wizard" "$entry" && grep -qx "Icon=tessmark-wizard" "$entry" ||
  fail "the desktop entry does not start the packaged wizard with its icon"

# man finds the page in its section by name; any troff warning (all kinds: -ww) fails.
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings=w -M "$x/root/usr/share/man" Tessmark >"$x/man" \
  2>"$x/man.err" || fail "man failed: $(cat "$x/man.err")"
[[ ! -s $x/man.err ]] || fail "man page warnings: $(cat "$x/man.err")"
for section in NAME SYNOPSIS OPTIONS 'EXIT STATUS' FILES EXAMPLES; do
  grep -qx "$section" "$x/man" || fail "the man page has no $section section"
done
echo "$deb: checked"
