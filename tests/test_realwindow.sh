#!/usr/bin/env bash
# Starts the real editor in an X server with a tree file on its command line
# and checks that a top-level window carries the file's name in its title.
# Then the settings: closed by its Exit shortcut, the editor has written every
# value; started again on a hand-written settings file, it comes up at the
# stored frame and writes every value back as it read it, which it can only do
# when it restored each one. Last, a password-protected file on the command
# line: its password typed into the real question opens it. Before all, --help
# in English and German.
# Usage: test_realwindow.sh EDITOR DATA-FOLDER
set -euo pipefail

[ "${1:-}" = --inside ] || [ $# = 2 ] || { echo "usage: $0 EDITOR DATA-FOLDER"; exit 2; }
# shellcheck source=tests/realeditor.sh
source "$(dirname "$0")/realeditor.sh"
editor=$2
data=$3
# Item "A" (icon 3, description "x") with one child "B" (icon 0).
file="$work/file.trd"
cp "$data/worked-example.trd" "$file"
conf="$HOME/.config/Vek/VekTreeViewEditor.conf"

# --help needs no display and speaks the language asked for.
for case in "C:Usage: vektreevieweditor [FILE]" "de:Aufruf: vektreevieweditor [DATEI]"; do
    help=$(env -u DISPLAY LANGUAGE="${case%%:*}" "$editor" --help) || fail "--help failed under LANGUAGE=${case%%:*}"
    [ "${help%%$'\n'*}" = "${case#*:}" ] || fail "--help under LANGUAGE=${case%%:*} begins: ${help%%$'\n'*}"
done

# Starts the editor and waits until its window with this title is on screen;
# window holds its id.
start() {
    local title=$1
    shift
    start_editor "$@"
    window=$(wait_window 200 "$title") || {
        ! editor_ended || fail "the editor ended before its window \"$title\" showed:"
        echo "no window \"$title\" within 20 s; windows:"
        xwininfo -root -tree || true
        fail
    }
    echo "found the window \"$title\""
}

# Closes the editor the way a user does, by its Exit shortcut Alt+F4 (there is
# no window manager to ask), and waits for it to end.
close() {
    for _ in 1 2 3; do
        xdotool windowfocus --sync "$window" 2>/dev/null || true
        xdotool key --clearmodifiers alt+F4 2>/dev/null || true
        wait_until 50 editor_ended && break
    done
    wait_end
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
# The window's design size centred on the screen. The values as designed are
# the main window's tests'; that a close writes each one, the restart's below.
values | grep -qx 'NormPos=291,224,733,543' || fail "the first close stored no centred frame: $(values)"

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

# tests/data/protected.trd: the same tree, protected by the password "sample".
cp "$data/protected.trd" "$work/protected.trd"
start_editor "$work/protected.trd"
question=$(wait_window 200 "Password") || fail "no password question for a protected file"
xdotool windowfocus --sync "$question" 2>/dev/null || true
xdotool type --delay 20 sample
xdotool key Return
window=$(wait_window 200 "protected.trd - VekTreeViewEditor") || fail "the protected file did not open"
close
echo "a protected file opened with its password"
