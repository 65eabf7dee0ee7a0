#!/usr/bin/env bash
# The real editor in an X server: a change, then SIGKILL once its recovery
# copy is written. The next start asks about the copy; Yes brings the change
# back under the file's name, Save puts it in the file, a deleted item comes
# back with Ctrl+Z, and a normal end leaves no copy behind.
# Usage: test_recovery.sh EDITOR TRDTOOL DATA-FOLDER
set -euo pipefail

[ "${1:-}" = --inside ] || [ $# = 3 ] || { echo "usage: $0 EDITOR TRDTOOL DATA-FOLDER"; exit 2; }
# shellcheck source=tests/realeditor.sh
source "$(dirname "$0")/realeditor.sh"
editor=$2
trdtool=$3
data=$4
file="$work/file.trd"
cp "$data/worked-example.trd" "$file"
recovery="$HOME/.local/share/Vek/VekTreeViewEditor/recovery"

press() {
    xdotool windowfocus --sync "$1"
    shift
    xdotool "$@"
    sleep 0.3
}

# The folder comes with the first copy.
copies() {
    find "$recovery" -maxdepth 1 -name "$1" 2>/dev/null || true
}
has_copy() {
    [ -n "$(copies '*.trd')" ]
}
no_copies() {
    [ -z "$(copies '*.trd')$(copies '*.info')" ]
}
saved() {
    "$trdtool" dump "$file" | grep -q Rescued
}

# 1. A new item named "Rescued", never saved.
start_editor "$file"
window=$(wait_window 200 "file.trd - VekTreeViewEditor") || fail "no window for file.trd"
press "$window" key alt+Insert
press "$window" type Rescued
press "$window" key Return

# 2. The copy comes within the interval of 30 s; then the editor is killed.
wait_until 900 has_copy || fail "no recovery copy in $recovery within 90 s"
copy=$(copies '*.trd' | head -n1)
"$trdtool" dump "$copy" | grep -q Rescued || fail "the copy lacks the new item: $("$trdtool" dump "$copy")"
stop_editor
saved && fail "the file was saved before the kill"

# 3. The next start asks; Yes (the default button) recovers.
start_editor "$file"
question=$(wait_window 200 "VekTreeViewEditor") || fail "no recovery question"
press "$question" key Return
window=$(wait_window 200 "file.trd - VekTreeViewEditor") || fail "no window for the recovered file.trd"

# 4. Save puts the change where it belongs and removes the copy.
press "$window" key ctrl+s
wait_until 100 saved || fail "the saved file lacks the recovered item"
wait_until 100 no_copies || fail "the copy stayed after Save: $(ls -A "$recovery")"

# 5. A change, then "A" deleted with its child, saved, and brought back by
# Ctrl+Z in the tree: Save writes both again.
press "$window" key alt+Insert
press "$window" type Kept
press "$window" key Return
press "$window" key Home
press "$window" key alt+Delete
warning=$(wait_window 100 "Warning !") || fail "no question before the delete"
press "$warning" key Return
press "$window" key ctrl+s
deleted() {
    ! "$trdtool" dump "$file" | grep -q '"B"' && "$trdtool" dump "$file" | grep -q Kept
}
wait_until 100 deleted || fail "the delete of A did not reach the file: $("$trdtool" dump "$file")"
press "$window" key ctrl+z
press "$window" key ctrl+s
restored() {
    "$trdtool" dump "$file" | grep -q '^  0 -1 0 1 "B" ""$' && "$trdtool" dump "$file" | grep -q Kept
}
wait_until 100 restored || fail "Ctrl+Z did not bring back A with its child B: $("$trdtool" dump "$file")"

# 6. Another change, then a normal end (Alt+F4, No at the save prompt) leaves no copy.
press "$window" key alt+Insert
press "$window" type Dropped
press "$window" key Return
press "$window" key alt+F4
prompt=$(wait_window 100 "Information") || fail "no save prompt"
press "$prompt" key alt+n
wait_end
no_copies || fail "a normal end left a copy: $(ls -A "$recovery")"
echo "recovered the change after SIGKILL"
