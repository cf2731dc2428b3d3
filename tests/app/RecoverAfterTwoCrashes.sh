#!/usr/bin/env bash
# The editor end to end on a real X server, killed twice: after an edit has
# been autosaved the editor is killed (SIGKILL) and started again while the
# killed process is not yet reaped, which offers the song back; recovered,
# it is killed again before its own next autosave, and the next start must
# still offer the song.
# Usage: RecoverAfterTwoCrashes.sh SONRIX3 SONG
# Exit 77 (skipped) without xvfb-run or xdotool.
set -euo pipefail
app=$1 song=$2
# shellcheck source=E2eSetup.sh
. "$(dirname "$0")/E2eSetup.sh"
cp "$song" "$work/song.sonrix"
mkdir -p "$work/config/Kestrelab"

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    app=$1 song=$2 settings=$3 autosaves=$4
    fail() { echo "$1"; kill -9 "$editor" 2>/dev/null || true; exit 1; }
    window() {
        local found
        for _ in $(seq 200); do
            found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
            [ -n "$found" ] && { echo "$found"; return 0; }
            sleep 0.1
        done
        return 1
    }
    autosaved() {
        for _ in $(seq 100); do
            ls "$autosaves"/autosave-*.sonrix >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        return 1
    }

    printf "[General]\nAutosaveSeconds=1\n" >"$settings"
    # Under a parent that never reaps it: the killed editor stays a zombie
    # while the next one starts, as after a crash its parent is slow to see.
    ( "$app" "$song" & echo $! >"$song.pid"; exec sleep 60 ) &
    parent=$!
    trap "kill \$parent" EXIT
    while [ ! -s "$song.pid" ]; do sleep 0.1; done
    editor=$(cat "$song.pid")
    main=$(window "song.sonrix") || fail "no editor window appeared"
    xdotool windowfocus --sync "$main"
    sleep 0.5
    # From the order table into the pattern editor, a note there.
    xdotool key --clearmodifiers Tab q
    autosaved || fail "the edit was not autosaved"
    kill -9 "$editor"
    sleep 0.2
    grep -q "^State:.*zombie" "/proc/$editor/status" || fail "the killed editor is no zombie"

    printf "[General]\nAutosaveSeconds=600\n" >"$settings"
    "$app" &
    editor=$!
    window "^sonrix3$" >/dev/null || fail "the first restart offered no recovery"
    sleep 0.5
    # Yes, the default button.
    xdotool key --clearmodifiers Return
    window "Untitled" >/dev/null || fail "the recovered song did not open"
    sleep 0.5
    kill -9 "$editor"

    "$app" &
    editor=$!
    window "^sonrix3$" >/dev/null || fail "the second restart offered no recovery"
    kill -9 "$editor"
' crashes "$app" "$work/song.sonrix" "$work/config/Kestrelab/sonrix3.conf" "$work/data/Kestrelab/sonrix3"
echo "recovered after two crashes"
