#!/usr/bin/env bash
# The editor end to end on a real X server: File > Save As with "b" typed
# where b.sonrix exists must ask before replacing it. "No" (Escape) leaves
# b.sonrix byte for byte; "Yes" replaces it with the song.
# Usage: SaveAsAsksBeforeReplacing.sh SONRIX3 SONRIX3_CLI SONG
# Exit 77 (skipped) without xvfb-run or xdotool.
set -euo pipefail
app=$1 cli=$2 song=$3
for tool in xvfb-run xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is missing (apt-get install xvfb xdotool)"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$song" "$work/a.sonrix"
printf 'an older file of that name\n' >"$work/b.sonrix"
cp "$work/b.sonrix" "$work/b.before"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
export SONRIX_AUDIO_DRIVER=dummy QT_QPA_PLATFORM=xcb
mkdir -m 700 "$work/run"

# Inside the X server. answer is the key for the question: Escape (No) or y
# (Yes). Fails when no question comes.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    app=$1 work=$2
    # The id of the first visible window whose title matches, waiting up to
    # ten seconds; fails when none comes.
    find_window() {
        local id
        for _ in $(seq 100); do
            id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
            [ -n "$id" ] && { echo "$id"; return 0; }
            sleep 0.1
        done
        return 1
    }
    focus() { xdotool windowfocus --sync "$1"; sleep 0.5; }
    # A key for a window that is to go away with it; sent again while the
    # window stays (a busy machine may still be handing it the focus).
    close_with() {
        for _ in $(seq 10); do
            focus "$1"
            xdotool key "$2"
            sleep 0.5
            xdotool search --onlyvisible --name "$3" 2>/dev/null | grep -qx "$1" || return 0
        done
        return 1
    }
    "$app" "$work/a.sonrix" &
    editor=$!
    trap "kill $editor 2>/dev/null || true" EXIT
    main=$(find_window a.sonrix) || { echo "no editor window"; exit 1; }
    save_as() {
        focus "$main"
        xdotool key --clearmodifiers alt+f
        sleep 0.3
        xdotool key a
        dialog=$(find_window "^Save As\$") || { echo "no Save As dialog"; exit 1; }
        focus "$dialog"
        xdotool key ctrl+a
        xdotool type --delay 20 "$work/b"
        xdotool key Return
        question=$(find_window "^sonrix3\$") || { echo "Save As replaced b.sonrix without asking"; exit 1; }
        close_with "$question" "$1" "^sonrix3\$" || { echo "the question did not take $1"; exit 1; }
    }
    save_as Escape
    # "No" returns to the file dialog; leave it.
    dialog=$(find_window "^Save As\$") || { echo "No did not return to the dialog"; exit 1; }
    close_with "$dialog" Escape "^Save As\$" || { echo "the dialog did not close"; exit 1; }
    cmp -s "$work/b.sonrix" "$work/b.before" || { echo "b.sonrix changed although the answer was No"; exit 1; }
    save_as y
    for _ in $(seq 50); do
        cmp -s "$work/b.sonrix" "$work/b.before" || exit 0
        sleep 0.1
    done
    echo "b.sonrix was not replaced after Yes"
    exit 1
' editor "$app" "$work"

"$cli" dump "$work/a.sonrix" >"$work/a.json"
"$cli" dump "$work/b.sonrix" >"$work/b.json"
diff -u "$work/a.json" "$work/b.json" || { echo "b.sonrix does not hold the song"; exit 1; }
echo "Save As asked before replacing b.sonrix, kept it on No and replaced it on Yes"
