#!/usr/bin/env bash
# Starts the real executable in the X server given by DISPLAY, waits for its
# window and checks its title, then closes it.
set -u
exe="$1"
"$exe" >/dev/null 2>&1 &
pid=$!
for _ in $(seq 1 100); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Trelvan <???>"'; then
    kill "$pid"; wait "$pid" 2>/dev/null
    echo "window found: Trelvan <???>"
    exit 0
  fi
  sleep 0.2
done
kill "$pid" 2>/dev/null
echo "no window titled 'Trelvan <???>' appeared" >&2
exit 1
