#!/usr/bin/env bash
# The longer checks of the installed files, run by ctest (checks.cmake):
#   check.sh install BUILD-DIR TREE APP-ID   install into TREE, compare the files
#   check.sh filetype TREE                   the file type from TREE's MIME data
#   check.sh version EDITOR TRDTOOL VERSION  --version and --help answer
#   check.sh license LICENSE COPYRIGHT       LICENSE names the product's copyright line
#   check.sh lintian BUILD-DIR WORK          lintian finds no error in the package
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }

install_tree() {
    local build=$1 tree=$2 id=$3
    rm -rf "$tree"
    DESTDIR="$tree" cmake --install "$build" --prefix /usr >/dev/null
    local expected actual
    expected=$(sort <<EOF_FILES
usr/bin/trdtool
usr/bin/vektreevieweditor
usr/share/applications/$id.desktop
usr/share/doc/vektreevieweditor/changelog.gz
usr/share/doc/vektreevieweditor/copyright
usr/share/icons/hicolor/16x16/apps/vektreevieweditor.png
usr/share/icons/hicolor/22x22/apps/vektreevieweditor.png
usr/share/icons/hicolor/24x24/apps/vektreevieweditor.png
usr/share/icons/hicolor/32x32/apps/vektreevieweditor.png
usr/share/icons/hicolor/scalable/apps/vektreevieweditor.svg
usr/share/man/man1/trdtool.1.gz
usr/share/man/man1/vektreevieweditor.1.gz
usr/share/metainfo/$id.metainfo.xml
usr/share/mime/packages/vektreevieweditor.xml
EOF_FILES
)
    actual=$(cd "$tree" && find . -type f -o -type l | sed 's|^\./||' | sort)
    [ "$actual" = "$expected" ] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$actual") || true)"
    echo "$(wc -l <<<"$actual") files installed as expected"
}

file_type() {
    local data=$1/usr/share
    local type=application/x-vektreevieweditor-trd
    command -v mimetype >/dev/null || fail "mimetype is missing (package libfile-mimeinfo-perl): xdg-mime would fall back to file(1), which ignores the MIME data"
    local work
    work=$(mktemp -d)
    trap 'rm -rf "$work"' RETURN
    printf '\377\377\377\377\000\000\000\000' >"$work/notes"  # current variant, no extension
    printf 'VEK\345\r\n\032\n\001\000\000\000' >"$work/protected"  # password-protected, no extension
    printf '\000\000\000\000' >"$work/old.trd"                # old variant, by its name
    printf '\000\000\000\000' >"$work/old"                    # old variant without it: unknown
    # Only the tree's data: no desktop, no home, no system MIME database.
    query() {
        env -i PATH="$PATH" HOME="$work" XDG_DATA_HOME="$work/data" XDG_DATA_DIRS="$data" \
            xdg-mime query filetype "$1"
    }
    find "$data/mime" -mindepth 1 -maxdepth 1 ! -name packages -exec rm -rf {} +
    [ "$(query "$work/notes")" != "$type" ] || fail "the type is known before its database is built"
    update-mime-database "$data/mime"
    local file answer
    for file in notes protected old.trd; do
        answer=$(query "$work/$file")
        [ "$answer" = "$type" ] || fail "$file: '$answer', expected $type"
    done
    answer=$(query "$work/old")
    [ "$answer" != "$type" ] || fail "old: an old-variant file without its extension taken as $type"
    grep -q '<comment>VekTreeViewEditor tree data</comment>' "$data/mime/$type.xml" ||
        fail "the type's name is missing from $data/mime/$type.xml"
    echo "recognised by magic and by extension"
}

version() {
    local editor=$1 trdtool=$2 version=$3 out
    # The editor's answer must not need a display.
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$editor" --version) ||
        fail "vektreevieweditor --version failed"
    [ "$out" = "vektreevieweditor $version" ] || fail "vektreevieweditor --version: '$out'"
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$editor" --help) ||
        fail "vektreevieweditor --help failed"
    [[ $out == "Usage: vektreevieweditor "* ]] || fail "vektreevieweditor --help: '$out'"
    out=$("$trdtool" --version) || fail "trdtool --version failed"
    [ "$out" = "trdtool $version" ] || fail "trdtool --version: '$out'"
    out=$("$trdtool" --help) || fail "trdtool --help failed"
    [[ $out == "Usage: trdtool "* ]] || fail "trdtool --help: '$out'"
    echo "both programs answer $version"
}

license() {
    grep -Fxq -- "$2" "$1" || fail "$1 does not hold the copyright line '$2' of the product's settings"
    echo "the licence names '$2'"
}

# The package as `make package` builds it, from this build's files, into WORK.
lintian_package() {
    local build=$1 work=$2
    rm -rf "$work"
    mkdir -p "$work"
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" -D CPACK_OUTPUT_FILE_PREFIX="$work" >"$work/cpack.log" ||
        fail "cpack failed: $(cat "$work/cpack.log")"
    local deb
    deb=$(find "$work" -maxdepth 1 -name '*.deb')
    [ -n "$deb" ] || fail "cpack made no package"
    lintian --fail-on error "$deb" || fail "lintian reports errors in $(basename "$deb")"
    echo "lintian: no errors in $(basename "$deb")"
}

case "${1:-}" in
install) install_tree "$2" "$3" "$4" ;;
filetype) file_type "$2" ;;
version) version "$2" "$3" "$4" ;;
license) license "$2" "$3" ;;
lintian) lintian_package "$2" "$3" ;;
*) fail "usage: $0 install|filetype|version|license|lintian ARGUMENTS" ;;
esac
