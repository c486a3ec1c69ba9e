#!/usr/bin/env bash
# Starts nuo4 on a copy of a demo score on a virtual X display, types a short melody with
# xdotool, saves with Ctrl+S and takes a screenshot. Passes when the saved text holds the typed
# notes and the score area of the screenshot carries ink.
#   screenshot_test.sh NUO4 SOURCE_DIR OUT_DIR
set -euo pipefail
NUO4=$1 SRC=$2 OUT=$3
mkdir -p "$OUT"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cp "$SRC/resources/demo/huanle.nuoabc" "$WORK/melody.nuoabc"
# Its own options and state: a recovery file or running copy left by a user's session would
# otherwise put a dialog before the window.
export XDG_CONFIG_HOME="$WORK/config" XDG_STATE_HOME="$WORK/state"
run() {
  "$NUO4" "$WORK/melody.nuoabc" &
  PID=$!
  for _ in $(seq 1 100); do
    WIN=$(xdotool search --name "Nuo4 - melody" 2>/dev/null | head -1 || true)
    [ -n "$WIN" ] && break
    sleep 0.1
  done
  [ -n "$WIN" ] || { echo "no window"; kill $PID; exit 1; }
  xdotool windowsize "$WIN" 1100 800 windowmove "$WIN" 0 0
  sleep 1
  xdotool windowfocus --sync "$WIN" || true
  # The score view has the focus after loading; the caret stands before the first symbol.
  xdotool type --delay 120 "5321"
  sleep 0.5
  xdotool key --delay 120 Left BackSpace
  xdotool type --delay 120 "6"
  sleep 0.5
  xdotool key ctrl+s
  sleep 1
  xwd -root -silent > "$WORK/shot.xwd"
  kill $PID 2>/dev/null || true
  wait $PID 2>/dev/null || true
}
export -f run 2>/dev/null || true
run
SHARE=$(/usr/bin/python3 "$SRC/tools/xwd_to_png.py" "$WORK/shot.xwd" "$OUT/editor_screenshot.png" \
        --dark-share 100 150 900 700)
echo "screenshot: $OUT/editor_screenshot.png (ink share of the score area $SHARE)"
TEXT=$(/usr/bin/python3 -c "import sys; print(open(sys.argv[1], encoding='utf-16').read())" "$WORK/melody.nuoabc")
VOICE=$(printf '%s\n' "$TEXT" | tr -d '\r' | sed -n '/^\.Voice/{n;p;}')
echo "voice: $VOICE"
# Typed 5 3 2 1, Left, Backspace (the 2 goes), 6: the voice starts with 5 3 6 2... as notes.
COMPACT=$(printf '%s' "$VOICE" | tr -d ' ')
case "$COMPACT" in
  5361*) ;;
  *) echo "the typed notes are not in the saved text"; exit 1 ;;
esac
/usr/bin/python3 -c "import sys; sys.exit(0 if float(sys.argv[1]) > 0.002 else 1)" "$SHARE" \
  || { echo "the score area is blank"; exit 1; }
echo "PASS"
