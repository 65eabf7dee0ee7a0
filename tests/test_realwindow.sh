#!/usr/bin/env bash
# Starts the real editor in an X server with a tree file on its command line
# and checks that a top-level window carries the file's name in its title.
# Then the settings: closed by its Exit shortcut, the editor has written every
# value; started again on a hand-written settings file, it comes up at the
# stored frame and writes every value back as it read it, which it can only do
# when it restored each one.
# Usage: test_realwindow.sh EDITOR DATA-FOLDER
set -euo pipefail

if [ "${1:-}" != "--inside" ]; then
    editor=${1:?usage: $0 EDITOR DATA-FOLDER}
    data=${2:?usage: $0 EDITOR DATA-FOLDER}
    for tool in xvfb-run:xvfb xwininfo:x11-utils xdotool:xdotool; do
        command -v "${tool%%:*}" >/dev/null || { echo "${tool%%:*} is missing (package ${tool#*:})"; exit 1; }
    done
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

fail() {
    echo "$@"
    [ ! -f "$work/editor.log" ] || cat "$work/editor.log"
    exit 1
}

# Item "A" (icon 3, description "x") with one child "B" (icon 0).
file="$work/file.trd"
cp "$data/worked-example.trd" "$file"

# The editor must not inherit a home whose settings or recovery copies
# another run left behind.
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
conf="$XDG_CONFIG_HOME/Vek/VekTreeViewEditor.conf"
# Only a program started under Xvfb chooses xcb; everything else headless
# runs on the offscreen platform (see the top-level CMakeLists.txt).
export QT_QPA_PLATFORM=xcb

# Starts the editor and waits until its window with this title is on screen;
# window holds its id.
start() {
    local title=$1
    shift
    "$editor" "$@" >>"$work/editor.log" 2>&1 &
    pid=$!
    for _ in $(seq 200); do
        window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) || true
        if [ -n "$window" ]; then
            echo "found the window \"$title\""
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || fail "the editor ended before its window \"$title\" showed:"
        sleep 0.1
    done
    echo "no window \"$title\" within 20 s; windows:"
    xwininfo -root -tree || true
    fail
}

# Closes the editor the way a user does, by its Exit shortcut Alt+F4 (there is
# no window manager to ask), and waits for it to end.
close() {
    for _ in 1 2 3; do
        xdotool windowfocus --sync "$window" 2>/dev/null || true
        xdotool key --clearmodifiers alt+F4 2>/dev/null || true
        for _ in $(seq 50); do
            if ! kill -0 "$pid" 2>/dev/null; then
                wait "$pid" || fail "the editor ended with status $?:"
                pid=""
                return 0
            fi
            sleep 0.1
        done
    done
    fail "the editor did not close on Alt+F4"
}

# The settings file's values, one "name=value" a line, names as the program
# reads them (the file escapes brackets), quotes dropped, sorted.
values() {
    [ -f "$conf" ] || fail "no settings file $conf"
    sed -n '/^\[Main\]$/,/^\[/{/=/p}' "$conf" | sed -e 's/%28/(/; s/%29/)/; s/="\(.*\)"$/=\1/' | LC_ALL=C sort
}

expect_values() {
    local expected
    expected=$(LC_ALL=C sort)
    if [ "$(values)" != "$expected" ]; then
        echo "$1; the settings file differs from what was expected (< expected, > file):"
        diff <(echo "$expected") <(values) || true
        fail
    fi
}

start "file.trd - VekTreeViewEditor" "$file"
close
# The window's design size centred on the screen, every view setting as
# designed.
expect_values "first close" <<'EOF'
FormVersion=0
Flags=0
ShowCmd=1
PixelsPerInch=96
MinMaxPos(1024x768)=-1,-1,0,0
MinMaxPos=-1,-1,0,0
NormPos(1024x768)=291,224,733,543
NormPos=291,224,733,543
Visible=0
OpenDialog1_InitialDir=
SaveDialog1_InitialDir=
Splitter1_Maximized=False
Splitter1_Minimized=False
ToolBarTV_Maximized=True
ToolBarMemo_Maximized=True
IconComboBox_Text=0
Memo1_FontCharset=0
Memo1_FontColor=-2147483640
Memo1_FontHeight=-13
Memo1_FontName=Courier New
Memo1_FontPitch=fpDefault
Memo1_FontSize=10
Memo1_FontStyle=[]
actViewWordWrap_Checked=False
miWordWrap_Checked=False
Memo1_WordWrap=False
Memo1_ScrollBars=ssBoth
EOF

# Every setting changed by hand; the window has no frame without a window
# manager, so the stored frame is its geometry.
changed='FormVersion=0
Flags=1
ShowCmd=1
PixelsPerInch=96
MinMaxPos(1024x768)=5,6,0,0
MinMaxPos=5,6,0,0
NormPos(1024x768)=100,80,700,530
NormPos=100,80,700,530
Visible=0
OpenDialog1_InitialDir=/home/me/notes
SaveDialog1_InitialDir=/tmp
Splitter1_Maximized=False
Splitter1_Minimized=True
ToolBarTV_Maximized=False
ToolBarMemo_Maximized=False
IconComboBox_Text=42
Memo1_FontCharset=204
Memo1_FontColor=255
Memo1_FontHeight=-16
Memo1_FontName=Liberation Mono
Memo1_FontPitch=fpFixed
Memo1_FontSize=12
Memo1_FontStyle=[fsBold,fsItalic]
actViewWordWrap_Checked=True
miWordWrap_Checked=True
Memo1_WordWrap=True
Memo1_ScrollBars=ssVertical'
{
    echo "[Main]"
    # A position is written as a person would, unquoted.
    echo "$changed"
} >"$conf"
start "Untitled - VekTreeViewEditor"
geometry=$(xwininfo -id "$window" | sed -n 's/^ *\(Absolute upper-left [XY]\|Width\|Height\): *//p' | paste -sd,)
[ "$geometry" = "100,80,600,450" ] || fail "the window is at $geometry (x,y,width,height), not where it was stored"
close
expect_values "restart" <<<"$changed"
echo "every setting survived a restart"
