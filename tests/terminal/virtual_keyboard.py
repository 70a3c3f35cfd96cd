#!/usr/bin/env python3
# Types into a Wayland compositor through one virtual keyboard (zwp_virtual_keyboard_v1) kept
# open for the whole run, so no press is lost between commands as it is when each command opens
# its own. Reads xdotool's words from standard input, a line at a time: keydown K, keyup K,
# key K (K may be ctrl+c), type WORD, sleep SECONDS. Speaks the wire protocol itself (requests
# only; the one reply awaited is the registry's); the keymap is libxkbcommon's default.
# Depends on: a wlroots compositor, libxkbcommon, python3.
import ctypes, os, socket, struct, sys, time

ROWS = ((16, "qwertyuiop"), (30, "asdfghjkl"), (44, "zxcvbnm"))
KEYS = dict({c: first + i for first, row in ROWS for i, c in enumerate(row)}, Return=28, ctrl=29,
            shift=42, space=57, Tab=15, Up=103, Left=105, Right=106, Down=108)
MODIFIERS = {"ctrl": 4, "shift": 1}  # their bits in the default keymap
SEAT, MANAGER, KEYBOARD = 4, 5, 6  # the ids this client gives its objects


class Wayland:
    def __init__(self):
        self.socket = socket.socket(socket.AF_UNIX)
        self.socket.connect(os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"]))
        self.modifiers = 0

    def send(self, target, opcode, *args, fd=None):
        body = b""
        for arg in args:
            text = arg.encode() + b"\0" if isinstance(arg, str) else b""
            body += struct.pack("I", len(text)) + text + b"\0" * (-len(text) % 4) if text else \
                struct.pack("I", arg)
        rights = [(socket.SOL_SOCKET, socket.SCM_RIGHTS, struct.pack("i", fd))] if fd else []
        self.socket.sendmsg([struct.pack("II", target, 8 + len(body) << 16 | opcode) + body], rights)

    def globals(self):
        self.send(1, 1, 2)  # wl_display.get_registry, then .sync: globals come before its done
        self.send(1, 0, 3)
        found, data = {}, b""
        while True:
            data += self.socket.recv(65536)
            while len(data) >= 8 and len(data) >= struct.unpack_from("II", data)[1] >> 16:
                target, size = struct.unpack_from("II", data)[0], struct.unpack_from("II", data)[1] >> 16
                if target == 3:
                    return found
                name, length = struct.unpack_from("II", data, 8)
                found[data[16:15 + length].decode()] = name
                data = data[size:]

    def key(self, name, state):
        self.send(KEYBOARD, 1, int(time.monotonic() * 1000) & 0xFFFFFFFF, KEYS[name], state)
        if name in MODIFIERS:  # a virtual keyboard's keys leave the modifiers to its client
            self.modifiers = self.modifiers | MODIFIERS[name] if state else \
                self.modifiers & ~MODIFIERS[name]
            self.send(KEYBOARD, 2, self.modifiers, 0, 0, 0)


def keymap():
    xkb = ctypes.CDLL("libxkbcommon.so.0")
    xkb.xkb_context_new.restype = xkb.xkb_keymap_new_from_names.restype = ctypes.c_void_p
    xkb.xkb_keymap_get_as_string.restype = ctypes.c_char_p
    context = ctypes.c_void_p(xkb.xkb_context_new(0))
    return xkb.xkb_keymap_get_as_string(ctypes.c_void_p(xkb.xkb_keymap_new_from_names(context, None, 0)), 1)


def main():
    wayland = Wayland()
    names = wayland.globals()
    for id, interface in ((SEAT, "wl_seat"), (MANAGER, "zwp_virtual_keyboard_manager_v1")):
        wayland.send(2, 0, names[interface], interface, 1, id)
    wayland.send(MANAGER, 0, SEAT, KEYBOARD)
    text = keymap() + b"\0"
    fd = os.memfd_create("keymap")
    os.write(fd, text)
    wayland.send(KEYBOARD, 0, 1, len(text), fd=fd)  # format 1: XKB text
    while line := sys.stdin.readline():
        words = line.split()
        for verb, what in zip(words[::2], words[1::2]):
            if verb == "sleep":
                time.sleep(float(what))
            for key in (what.split("+") if verb in ("keydown", "key") else []):
                wayland.key(key, 1)
            for key in (what.split("+")[::-1] if verb in ("keyup", "key") else []):
                wayland.key(key, 0)
            for key in (what if verb == "type" else ""):
                wayland.key(key, 1)
                wayland.key(key, 0)
                time.sleep(0.01)


if __name__ == "__main__":
    main()
