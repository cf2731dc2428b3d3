#!/usr/bin/env bash
# The editor end to end on a real X server, killed twice: after an edit has
# been autosaved the editor is killed (SIGKILL) and started again while the
# killed process is not yet reaped, which offers the song back; recovered,
# it is killed again before its own next autosave, and the next start must
# still offer the song.
# Usage: RecoverAfterTwoCrashes.sh SONRIX3 SONG
# Exit 77 (skipped) without xvfb-run or xdotool.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
source "$here/X11Helpers.sh"
require_tools xvfb-run xdotool
app=$1 song=$2

editor_folder
cp "$song" "$work/song.sonrix"
mkdir -p "$work/config/Kestrelab"

xvfb-run -a -s "-noreset -screen 0 1280x1024x24" bash -c '
    source "$1/X11Helpers.sh"
    app=$2 song=$3 settings=$4 autosaves=$5
    fail() { echo "$1"; kill -9 "$editor" 2>/dev/null || true; exit 1; }
    autosaved() { ls "$autosaves"/autosave-*.sonrix >/dev/null 2>&1; }

    printf "[General]\nAutosaveSeconds=1\n" >"$settings"
    # Under a parent that never reaps it: the killed editor stays a zombie
    # while the next one starts, as after a crash its parent is slow to see.
    ( "$app" "$song" & echo $! >"$song.pid"; exec sleep 60 ) &
    parent=$!
    trap "kill \$parent" EXIT
    while [ ! -s "$song.pid" ]; do sleep 0.1; done
    editor=$(cat "$song.pid")
    main=$(find_window "song.sonrix") || fail "no editor window appeared"
    # From the order table into the pattern editor, a note there; autosaved
    # within a second.
    keys_until "$main" autosaved Tab q || fail "the edit was not autosaved"
    kill -9 "$editor"
    sleep 0.2
    grep -q "^State:.*zombie" "/proc/$editor/status" || fail "the killed editor is no zombie"

    printf "[General]\nAutosaveSeconds=600\n" >"$settings"
    "$app" &
    editor=$!
    question=$(find_window "^sonrix3$") || fail "the first restart offered no recovery"
    # Yes, the default button.
    keys_until "$question" "gone $question" Return || fail "the question did not close"
    find_window "Untitled" >/dev/null || fail "the recovered song did not open"
    sleep 0.5
    kill -9 "$editor"

    "$app" &
    editor=$!
    find_window "^sonrix3$" >/dev/null || fail "the second restart offered no recovery"
    kill -9 "$editor"
' crashes "$here" "$app" "$work/song.sonrix" "$work/config/Kestrelab/sonrix3.conf" "$work/data/Kestrelab/sonrix3"
echo "recovered after two crashes"
