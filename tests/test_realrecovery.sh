#!/usr/bin/env bash
# The real editor in an X server: a change, then SIGKILL once its recovery
# copy is written. The next start asks about the copy; Yes brings the change
# back under the file's name, Save puts it in the file, and a normal end
# leaves no copy behind.
# Usage: test_recovery.sh EDITOR TRDTOOL DATA-FOLDER
set -euo pipefail

if [ "${1:-}" != "--inside" ]; then
    [ $# = 3 ] || { echo "usage: $0 EDITOR TRDTOOL DATA-FOLDER"; exit 2; }
    for tool in xvfb-run xdotool; do
        command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/install-packages"; exit 1; }
    done
    # The X server must outlive the killed editor: no reset when its last
    # client goes, or the next start finds no display.
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" --inside "$@"
fi

editor=$2
trdtool=$3
data=$4
work=$(mktemp -d)
pid=""
stop_editor() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill -9 "$pid" 2>/dev/null || true
    fi
    [ -z "$pid" ] || wait "$pid" 2>/dev/null || true
    pid=""
}
cleanup() {
    stop_editor
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    cat "$work/editor.log" 2>/dev/null || true
    exit 1
}

file="$work/file.trd"
cp "$data/worked-example.trd" "$file"
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
unset XDG_DATA_HOME XDG_CONFIG_HOME
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
# The editor ends normally here, so the leak check runs: the desktop bus
# library keeps a buffer it never frees, which is not the editor's.
echo "leak:libdbus-1.so" >"$work/lsan.supp"
export LSAN_OPTIONS="suppressions=$work/lsan.supp"
recovery="$HOME/.local/share/Vek/VekTreeViewEditor/recovery"

start_editor() {
    "$editor" "$@" >>"$work/editor.log" 2>&1 &
    pid=$!
}

# Waits up to $1 tenths of a second for a window whose whole title is $2;
# prints its id.
wait_window() {
    local id
    for _ in $(seq "$1"); do
        id=$(xdotool search --onlyvisible --name "^$2\$" 2>/dev/null | head -n1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

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

# 1. A new item named "Rescued", never saved.
start_editor "$file"
window=$(wait_window 200 "file.trd - VekTreeViewEditor") || fail "no window for file.trd"
press "$window" key alt+Insert
press "$window" type Rescued
press "$window" key Return

# 2. The copy comes within the interval of 30 s; then the editor is killed.
copy=""
for _ in $(seq 900); do
    copy=$(copies '*.trd' | head -n1)
    [ -n "$copy" ] && break
    sleep 0.1
done
[ -n "$copy" ] || fail "no recovery copy in $recovery within 90 s"
"$trdtool" dump "$copy" | grep -q Rescued || fail "the copy lacks the new item: $("$trdtool" dump "$copy")"
kill -9 "$pid"
wait "$pid" 2>/dev/null || true
pid=""
"$trdtool" dump "$file" | grep -q Rescued && fail "the file was saved before the kill"

# 3. The next start asks; Yes (the default button) recovers.
start_editor "$file"
question=$(wait_window 200 "VekTreeViewEditor") || fail "no recovery question"
press "$question" key Return
window=$(wait_window 200 "file.trd - VekTreeViewEditor") || fail "no window for the recovered file.trd"

# 4. Save puts the change where it belongs and removes the copy.
press "$window" key ctrl+s
for _ in $(seq 100); do
    "$trdtool" dump "$file" | grep -q Rescued && break
    sleep 0.1
done
"$trdtool" dump "$file" | grep -q Rescued || fail "the saved file lacks the recovered item"
for _ in $(seq 100); do
    [ -z "$(copies '*.trd')$(copies '*.info')" ] && break
    sleep 0.1
done
[ -z "$(copies '*.trd')$(copies '*.info')" ] || fail "the copy stayed after Save: $(ls -A "$recovery")"

# 5. Another change, then a normal end (Alt+F4, No at the save prompt) leaves no copy.
press "$window" key alt+Insert
press "$window" type Dropped
press "$window" key Return
press "$window" key alt+F4
prompt=$(wait_window 100 "Information") || fail "no save prompt"
press "$prompt" key alt+n
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the editor did not end"
wait "$pid" || fail "the editor ended with status $?"
pid=""
[ -z "$(copies '*.trd')$(copies '*.info')" ] || fail "a normal end left a copy: $(ls -A "$recovery")"
echo "recovered the change after SIGKILL"
