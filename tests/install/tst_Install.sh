#!/usr/bin/env bash
# The program as installed: install the build into a temporary prefix, run the
# installed roadtally-cli with a temporary HOME (the surveys must land in the
# user's data folder, never beside the program), validate the desktop entry and
# the AppStream metadata, then make the Debian package from the same build tree
# and check its file list and dependencies.
#   tst_Install.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$tmp/usr
cmake --install "$build" --prefix "$prefix" >/dev/null

export HOME=$tmp/home
unset XDG_DATA_HOME ROADTALLY_FOLDER
mkdir -p "$HOME"
cli=$prefix/bin/roadtally-cli
data=$HOME/.local/share/Roadtally

"$cli" --version | head -1 | grep -qx "roadtally-cli [0-9.]*" || fail "--version: $("$cli" --version)"
"$cli" --version | grep -qF "survey folder $data" || fail "--version does not name $data"
"$cli" init >/dev/null
[ -f "$data/OV97.mdb" ] || fail "init did not make $data/OV97.mdb"
"$cli" import "$prefix/share/roadtally/Sample1Day.ovd" \
    --location "Main St" --direction North --zone School >"$tmp/import.txt" 2>"$tmp/import.err"
grep -q "^Batch number: " "$tmp/import.txt" || fail "import: $(cat "$tmp/import.txt")"
# Standard error is no terminal here: no progress lines, nothing extra.
[ ! -s "$tmp/import.err" ] || fail "import wrote to standard error: $(cat "$tmp/import.err")"
"$cli" list | grep -q "Main St" || fail "list does not show the survey"
# At a terminal the import shows its progress on standard error.
script -qec "'$cli' import '$prefix/share/roadtally/Sample1Day.ovd' --letter B \
    --location 'Main St' --direction North --zone School" /dev/null >"$tmp/tty.txt" </dev/null
grep -q "Importing Sample1Day.ovd" "$tmp/tty.txt" || fail "no progress at a terminal: $(cat -v "$tmp/tty.txt")"
[ -z "$(ls "$prefix/bin" | grep -vx 'roadtally\|roadtally-cli')" ] || fail "files beside the program: $(ls "$prefix/bin")"

desktop-file-validate "$prefix/share/applications/org.roadtally.Roadtally.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.roadtally.Roadtally.metainfo.xml"
zcat "$prefix/share/man/man1/roadtally-cli.1.gz" | grep -q "^\\.SH DESCRIPTION" || fail "manual page"

# The package, from the build tree as it stands.
(cd "$tmp" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/package" >/dev/null)
deb=$(ls "$tmp"/package/*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' >"$tmp/files.txt"
for f in ./usr/bin/roadtally ./usr/bin/roadtally-cli \
         ./usr/share/applications/org.roadtally.Roadtally.desktop \
         ./usr/share/metainfo/org.roadtally.Roadtally.metainfo.xml \
         ./usr/share/mime/packages/roadtally.xml \
         ./usr/share/icons/hicolor/scalable/apps/roadtally.svg \
         ./usr/share/icons/hicolor/16x16/apps/roadtally.png \
         ./usr/share/icons/hicolor/48x48/apps/roadtally.png \
         ./usr/share/icons/hicolor/256x256/apps/roadtally.png \
         ./usr/share/roadtally/ov97.emp ./usr/share/roadtally/Sample1Day.ovd \
         ./usr/share/roadtally/Sample7Day.ovd ./usr/share/man/man1/roadtally-cli.1.gz; do
    grep -qx "$f" "$tmp/files.txt" || fail "the package lacks $f"
done
! grep -q "roadtally-bench\|roadtally-sample\|roadtally-shots\|OV97.mdb" "$tmp/files.txt" \
    || fail "the package holds files of the build only"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6sql6-sqlite fonts-liberation2 libqt6widgets6 libc6; do
    echo "$depends" | grep -q "$d" || fail "Depends lacks $d: $depends"
done
echo "installed, validated and packaged: $(basename "$deb")"
