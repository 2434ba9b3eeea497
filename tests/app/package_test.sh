#!/usr/bin/env bash
# Packs a build tree into the Debian package with CPack and checks the package as a user
# gets it: its name and control fields, every file where it belongs, the programs running
# from the unpacked tree, and the desktop entry and AppStream metadata as their validators
# see them (where those are installed).
#
#   package_test.sh BUILD_DIR [OUT_DIR]
#
# OUT_DIR keeps the package (scripts/package); without it the package is made in a
# temporary folder and removed. The last line printed is the package's path.
set -euo pipefail

build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
out=${2:-$work/out}
mkdir -p "$out"
out=$(cd "$out" && pwd)

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
[ -n "$version" ] || { echo "FAIL: no package version in $build/CPackConfig.cmake" >&2; exit 1; }
arch=$(dpkg --print-architecture)
deb="$out/tarvelo_${version}_${arch}.deb"

rm -f "$deb"
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack could not build the package" >&2
  exit 1
fi
rm -rf "$out/_CPack_Packages"
[ -f "$deb" ] || { echo "FAIL: cpack did not write $deb:" >&2; ls "$out" >&2; exit 1; }

# Control fields; the dependencies are those dpkg-shlibdeps found for the programs.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tarvelo ] || fail "package name is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "package version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$arch" ] || fail "architecture is '$(field Architecture)'"
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqt6printsupport6 libcurl4 libpcre2-8-0; do
  [[ ", $depends," == *", $library "* || ", $depends," == *", $library,"* ]] \
    || fail "Depends lacks $library: $depends"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
usr="$root/usr"
expect_file() {
  [ -f "$usr/$1" ] || fail "the package has no /usr/$1"
}
for program in tarvelo tarvelo-cli; do
  [ -x "$usr/bin/$program" ] || fail "the package has no executable /usr/bin/$program"
done
for file in share/applications/tarvelo.desktop share/mime/packages/tarvelo.xml \
            share/icons/hicolor/scalable/apps/tarvelo.svg share/metainfo/com.ombrix.tarvelo.metainfo.xml \
            share/tarvelo/FAQ.html share/tarvelo/QVXSrv.html share/tarvelo/Dialogs.html \
            share/tarvelo/catalog.reg share/doc/tarvelo/README.md; do
  expect_file "$file"
done
# The README's pictures, where its links point.
while read -r picture; do
  expect_file "share/doc/tarvelo/$picture"
done < <(grep -o 'docs/[A-Za-z0-9_.-]*\.png' "$source_dir/README.md" | sort -u)
# Every translation in the tree, as the program loads it.
while read -r catalog; do
  expect_file "share/tarvelo/translations/$(basename "$catalog" .ts).qm"
done < <(find "$source_dir" -name '*.ts' -not -path "$source_dir/build*" -not -path "$source_dir/tests/*" -not -path "$source_dir/.git/*")

# The desktop entry, the file type and the metadata name each other consistently.
desktop="$usr/share/applications/tarvelo.desktop"
metainfo="$usr/share/metainfo/com.ombrix.tarvelo.metainfo.xml"
if [ -f "$desktop" ]; then
  exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [ -x "$usr/bin/$exec_program" ] || fail "the desktop entry starts '$exec_program', which the package lacks"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [ -f "$usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the desktop entry's icon '$icon' is not in the package"
  mime_type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$usr/share/mime/packages/tarvelo.xml")
  grep -q "^MimeType=.*$mime_type;" "$desktop" || fail "the desktop entry does not open $mime_type"
  [ ! -f "$metainfo" ] || grep -q "<mediatype>$mime_type</mediatype>" "$metainfo" \
    || fail "the metadata does not provide $mime_type"
fi
if [ -f "$metainfo" ]; then
  launchable=$(sed -n 's/.*<launchable type="desktop-id">\(.*\)<\/launchable>.*/\1/p' "$metainfo")
  [ -f "$usr/share/applications/$launchable" ] || fail "the metadata launches '$launchable', which the package lacks"
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 \
    || { cat "$work/appstream.log" >&2; fail "appstreamcli rejects the metadata"; }
fi

# The programs run from the unpacked tree with private settings, and the command line
# finds the catalog that the package put beside it.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_DATA_HOME="$work/data"
export XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
"$usr/bin/tarvelo-cli" --version | grep -q "Tarvelo" || fail "tarvelo-cli --version does not run"
"$usr/bin/tarvelo" --version | grep -q "Tarvelo" || fail "tarvelo --version does not run"
"$usr/bin/tarvelo-cli" servers catalog >"$work/catalog.txt" 2>&1 || fail "tarvelo-cli servers catalog fails: $(cat "$work/catalog.txt")"
grep -q "ECB euro reference rate" "$work/catalog.txt" || fail "tarvelo-cli servers catalog does not list the catalog"
# The desktop program starts Qt (platform plugin and all) for an unattended update.
"$usr/bin/tarvelo-cli" new "$work/Empty.qvx" >/dev/null || fail "tarvelo-cli new fails"
QT_QPA_PLATFORM=offscreen "$usr/bin/tarvelo" -u "$work/Empty.qvx" >"$work/gui.log" 2>&1 \
  || fail "tarvelo -u fails in the unpacked tree: $(cat "$work/gui.log")"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) of $deb failed" >&2
  exit 1
fi
echo "$deb"
