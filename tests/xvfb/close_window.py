#!/usr/bin/python3
"""Asks the window titled argv[1] to close, as a window manager does when the
user clicks its close button: a WM_DELETE_WINDOW client message."""
import sys

from Xlib import X, display
from Xlib.protocol import event


def find(window, title):
    if window.get_wm_name() == title:
        return window
    for child in window.query_tree().children:
        found = find(child, title)
        if found is not None:
            return found
    return None


def main():
    title = sys.argv[1]
    d = display.Display()
    window = find(d.screen().root, title)
    if window is None:
        print(f"no window titled {title!r}", file=sys.stderr)
        return 1
    protocols = d.intern_atom("WM_PROTOCOLS")
    delete = d.intern_atom("WM_DELETE_WINDOW")
    message = event.ClientMessage(window=window, client_type=protocols,
                                  data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(message, event_mask=X.NoEventMask)
    d.flush()
    d.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
