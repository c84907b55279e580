# SPDX-License-Identifier: GPL-3.0-or-later
"""Files dragged and dropped as a file manager does it, through the X drag-and-drop protocol
(XDND): the pointer really moves over the window, the window answers whether it takes the
files (the cursor a user would see), and on a drop it fetches them from the drag's source.
Both window suites use it: Wine's X11 driver turns such a drop into a Windows one."""
import subprocess
import time
from urllib.parse import quote

from Xlib import X, display
from Xlib.protocol import event

VERSION = 5
URI_LIST = "text/uri-list"


class FileDrag:
    def __init__(self):
        self.display = display.Display()
        self.root = self.display.screen().root
        self.source = self.root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
        self.uris = b""
        self.source.change_property(self._atom("XdndAware"), self._atom("ATOM"), 32, [VERSION])

    def close(self):
        self.source.destroy()
        self.display.close()

    def drop(self, paths, x, y):
        """Drags paths to (x, y) on the screen and drops them there if the window under the
        pointer takes them. Returns whether it did."""
        self._move_pointer(int(x), int(y))
        target = self._aware_window_under_pointer()
        if target is None:
            raise AssertionError(f"no window that takes drops at ({x}, {y})")
        # The window may ask for the files while they are dragged over it, not only on the drop.
        self.uris = "".join(f"file://{quote(path)}\r\n" for path in paths).encode()
        self.source.set_selection_owner(self._atom("XdndSelection"), X.CurrentTime)
        self._send(target, "XdndEnter", [self.source.id, VERSION << 24, self._atom(URI_LIST), 0, 0])
        self._send(target, "XdndPosition", [self.source.id, 0, (int(x) << 16) | int(y),
                                            X.CurrentTime, self._atom("XdndActionCopy")])
        status = self._wait_client_message("XdndStatus")
        if not status.data[1][1] & 1:
            self._send(target, "XdndLeave", [self.source.id, 0, 0, 0, 0])
            self.display.flush()
            return False
        self._send(target, "XdndDrop", [self.source.id, 0, X.CurrentTime, 0, 0])
        self._wait_client_message("XdndFinished")
        return True

    def _atom(self, name):
        return self.display.intern_atom(name)

    def _move_pointer(self, x, y, timeout=5):
        # Not xdotool's --sync: it waits for a motion that never comes when the pointer is
        # already there.
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            pointer = self.root.query_pointer()
            if (pointer.root_x, pointer.root_y) == (x, y):
                return
            time.sleep(0.01)
        raise AssertionError(f"the pointer did not reach ({x}, {y})")

    def _aware_window_under_pointer(self):
        window = self.root
        while True:
            child = window.query_pointer().child
            if not child:
                return None
            if child.get_full_property(self._atom("XdndAware"), X.AnyPropertyType):
                return child
            window = child

    def _send(self, target, kind, data):
        message = event.ClientMessage(window=target, client_type=self._atom(kind),
                                      data=(32, data))
        target.send_event(message, event_mask=0)
        self.display.flush()

    def _wait_client_message(self, kind, timeout=5):
        wanted = self._atom(kind)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            while self.display.pending_events():
                received = self.display.next_event()
                kind_of = received.type & 0x7F  # without the bit of an event sent by a client
                if kind_of == X.SelectionRequest:
                    self._answer(received)
                elif kind_of == X.ClientMessage and received.client_type == wanted:
                    return received
            time.sleep(0.01)
        raise AssertionError(f"no {kind} from the window within {timeout} s")

    def _answer(self, request):
        """Hands the dropped files' addresses to the window that asks for them."""
        prop = request.property or request.target
        if request.target == self._atom(URI_LIST):
            request.requestor.change_property(prop, request.target, 8, self.uris)
        else:
            prop = X.NONE
        notify = event.SelectionNotify(time=request.time, requestor=request.requestor,
                                       selection=request.selection, target=request.target,
                                       property=prop)
        request.requestor.send_event(notify, event_mask=0)
        self.display.flush()
