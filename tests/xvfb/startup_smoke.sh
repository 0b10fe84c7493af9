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

if ! /usr/bin/python3 "$here/close_window.py" "$title"; then
  kill "$pid" 2>/dev/null
  exit 1
fi
# The close request must end the program; give it 30 s (sanitizer builds
# run their leak check at exit).
for _ in $(seq 1 150); do
  kill -0 "$pid" 2>/dev/null || break
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
