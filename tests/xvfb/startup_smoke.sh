#!/usr/bin/env bash
# Starts the real executable in the X server given by DISPLAY, waits for its
# window and checks its title, then closes it as a user does (the window
# manager's close request) and expects a clean exit: status 0 and no
# sanitizer report on its error output.
set -u
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
title='Trelvan <???>'
errors="$(mktemp)"
trap 'rm -f "$errors"' EXIT

"$exe" >/dev/null 2>"$errors" &
pid=$!
found=0
for _ in $(seq 1 150); do
  if xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\""; then
    found=1
    break
  fi
  if ! kill -0 "$pid" 2>/dev/null; then break; fi
  sleep 0.2
done
if [ "$found" -ne 1 ]; then
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  echo "no window titled '$title' appeared" >&2
  cat "$errors" >&2
  exit 1
fi
echo "window found: $title"

# The window is closed once it is on the screen, as a user would see it.
for _ in $(seq 1 150); do
  xwininfo -name "$title" 2>/dev/null | grep -q 'IsViewable' && break
  sleep 0.2
done
if ! /usr/bin/python3 "$here/close_window.py" "$title"; then
  kill "$pid" 2>/dev/null
  exit 1
fi
# The close request must end the program; give it 45 s (sanitizer builds
# run their leak check at exit). A request that comes while a sanitizer
# build is still starting up, or while a loaded machine keeps the program
# from its events, is sometimes not acted on (no window manager here to
# repeat it): every 10 s it is sent once more, as a user would click again.
for tick in $(seq 1 225); do
  kill -0 "$pid" 2>/dev/null || break
  if [ $((tick % 50)) -eq 0 ]; then
    echo "no exit 10 s after the close request: asking again"
    /usr/bin/python3 "$here/close_window.py" "$title" || true
  fi
  sleep 0.2
done
if kill -0 "$pid" 2>/dev/null; then
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  echo "the window was asked to close but the program did not end" >&2
  exit 1
fi
wait "$pid"
status=$?
if grep -qE 'ERROR: (Address|Leak)Sanitizer|WARNING: ThreadSanitizer|runtime error:' "$errors"; then
  echo "sanitizer report from the program:" >&2
  cat "$errors" >&2
  exit 1
fi
if [ "$status" -ne 0 ]; then
  echo "the program ended with status $status" >&2
  cat "$errors" >&2
  exit 1
fi
echo "closed by the window's close request: status 0"
