# Sourced by the tests that drive the real editor in an X server, with the
# script's own arguments: "$0 ARGS" runs the script again inside Xvfb as
# "$0 --inside ARGS"; inside, it gives a work folder that goes at the end, a
# home of its own there, and the editor's output for a failure.
if [ "${1:-}" != "--inside" ]; then
    for tool in xvfb-run xwininfo xdotool; do
        command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/install-packages"; exit 1; }
    done
    # The X server must outlive a killed editor: no reset when its last
    # client goes, or the next start finds no display.
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" --inside "$@"
fi

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

# The editor must not inherit settings or recovery copies that another run
# left behind.
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
unset XDG_CONFIG_HOME XDG_DATA_HOME
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# Only a program started under Xvfb chooses xcb; everything else headless
# runs on the offscreen platform (see the top-level CMakeLists.txt).
export QT_QPA_PLATFORM=xcb

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

# Runs the command after $1 every tenth of a second until it succeeds, $1
# times at most.
wait_until() {
    local tries=$1
    shift
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

editor_ended() {
    ! kill -0 "$pid" 2>/dev/null
}
# Waits up to 10 s for the editor to end; fails unless it ends with status 0.
wait_end() {
    wait_until 100 editor_ended || fail "the editor did not end"
    wait "$pid" || fail "the editor ended with status $?"
    pid=""
}
