#!/usr/bin/env bash
# The editor end to end on a real X server: File > Save As with "b" typed
# where b.sonrix exists must ask before replacing it. "No" (Escape) leaves
# b.sonrix byte for byte; "Yes" replaces it with the song.
# Usage: SaveAsAsksBeforeReplacing.sh SONRIX3 SONRIX3_CLI SONG
# Exit 77 (skipped) without xvfb-run or xdotool.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
source "$here/X11Helpers.sh"
require_tools xvfb-run xdotool
app=$1 cli=$2 song=$3

editor_folder
cp "$song" "$work/a.sonrix"
printf 'an older file of that name\n' >"$work/b.sonrix"
cp "$work/b.sonrix" "$work/b.before"

xvfb-run -a -s "-noreset -screen 0 1280x1024x24" bash -c '
    source "$1/X11Helpers.sh"
    app=$2 work=$3
    "$app" "$work/a.sonrix" &
    trap "kill $! 2>/dev/null || true" EXIT
    main=$(find_window a.sonrix) || { echo "no editor window"; exit 1; }
    # Save As, "b" typed, then the question answered with key $1.
    save_as() {
        keys_until "$main" "dialog=\$(visible \"^Save As\\$\")" alt+f a || { echo "no Save As dialog"; exit 1; }
        focus "$dialog"
        xdotool key ctrl+a
        xdotool type --delay 20 "$work/b"
        xdotool key Return
        question=$(find_window "^sonrix3\$") || { echo "Save As replaced b.sonrix without asking"; exit 1; }
        keys_until "$question" "gone $question" "$1" || { echo "the question did not take $1"; exit 1; }
    }
    save_as Escape
    # "No" returns to the file dialog; leave it.
    dialog=$(find_window "^Save As\$") || { echo "No did not return to the dialog"; exit 1; }
    keys_until "$dialog" "gone $dialog" Escape || { echo "the dialog did not close"; exit 1; }
    cmp -s "$work/b.sonrix" "$work/b.before" || { echo "b.sonrix changed although the answer was No"; exit 1; }
    save_as y
    for _ in $(seq 50); do
        cmp -s "$work/b.sonrix" "$work/b.before" || exit 0
        sleep 0.1
    done
    echo "b.sonrix was not replaced after Yes"
    exit 1
' editor "$here" "$app" "$work"

"$cli" dump "$work/a.sonrix" >"$work/a.json"
"$cli" dump "$work/b.sonrix" >"$work/b.json"
diff -u "$work/a.json" "$work/b.json" || { echo "b.sonrix does not hold the song"; exit 1; }
echo "Save As asked before replacing b.sonrix, kept it on No and replaced it on Yes"
