#!/usr/bin/env bash
# Starts the real editor in an X server with a tree file on its command line
# and passes once a top-level window carries the file's name in its title.
# Usage: test_realwindow.sh EDITOR DATA-FOLDER
set -euo pipefail

if [ "${1:-}" != "--inside" ]; then
    editor=${1:?usage: $0 EDITOR DATA-FOLDER}
    data=${2:?usage: $0 EDITOR DATA-FOLDER}
    command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (package xvfb)"; exit 1; }
    command -v xwininfo >/dev/null || { echo "xwininfo is missing (package x11-utils)"; exit 1; }
    # xvfb-run stops its X server when the inner run ends.
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$editor" "$data"
fi

editor=$2
data=$3
work=$(mktemp -d)
pid=""
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        # A program that ignores the polite request gets no second one.
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
    fi
    [ -z "$pid" ] || wait "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Item "A" (icon 3, description "x") with one child "B" (icon 0).
file="$work/file.trd"
cp "$data/worked-example.trd" "$file"

# The editor must not inherit a home whose settings or recovery copies
# another run left behind.
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# Only a program started under Xvfb chooses xcb; everything else headless
# runs on the offscreen platform (see the top-level CMakeLists.txt).
export QT_QPA_PLATFORM=xcb

"$editor" "$file" >"$work/editor.log" 2>&1 &
pid=$!

title='"file.trd - VekTreeViewEditor"'
for _ in $(seq 200); do
    if xwininfo -root -tree 2>/dev/null | grep -qF "$title"; then
        echo "found the window $title"
        exit 0
    fi
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "the editor ended before its window showed the file:"
        cat "$work/editor.log"
        exit 1
    fi
    sleep 0.1
done
echo "no window $title within 20 s; windows:"
xwininfo -root -tree || true
cat "$work/editor.log"
exit 1
