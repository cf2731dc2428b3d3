# Shared by the end-to-end scripts that drive the editor on an X server with
# xdotool; sourced, also inside xvfb-run.

# Exit 77 (skipped) when a tool is missing.
require_tools() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
    done
}

# A fresh folder $work, removed at exit, holding the editor's settings, data
# and runtime folders; the editor on X with the dummy audio driver.
editor_folder() {
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    mkdir -m 700 "$work/run"
    export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
    export SONRIX_AUDIO_DRIVER=dummy QT_QPA_PLATFORM=xcb
}

# The id of a visible window whose title matches $1: visible at once,
# find_window within ten seconds; both fail when there is none.
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 | grep .; }
find_window() {
    for _ in $(seq 100); do
        visible "$1" && return 0
        sleep 0.1
    done
    return 1
}
gone() { ! xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1"; }
focus() { xdotool windowfocus --sync "$1" && sleep 0.5; }

# Keys ($3...) for window $1, sent again until the test $2 holds within two
# seconds (a busy machine may still be handing the window the focus); fails
# after five tries.
keys_until() {
    local window=$1 done=$2 key
    shift 2
    for _ in 1 2 3 4 5; do
        focus "$window"
        for key in "$@"; do
            xdotool key --clearmodifiers "$key"
            sleep 0.3
        done
        for _ in $(seq 20); do
            eval "$done" && return 0
            sleep 0.1
        done
    done
    return 1
}
