#!/usr/bin/env python3
# Types into a wlroots compositor through one virtual keyboard (zwp_virtual_keyboard_v1) kept
# open for the whole run: a keyboard opened per command loses presses. Reads xdotool's words from
# standard input a line at a time (keydown K, keyup K, key K with K like ctrl+c, type WORD,
# sleep SECONDS). Speaks the Wayland wire protocol itself, reading no reply but the registry's;
# the keymap is libxkbcommon's default. Depends on: libxkbcommon, python3.
import ctypes, os, socket, struct, sys, time

ROWS = ((16, "qwertyuiop"), (30, "asdfghjkl"), (44, "zxcvbnm"))
KEYS = dict({c: first + i for first, row in ROWS for i, c in enumerate(row)}, Return=28, ctrl=29,
            space=57, Up=103, Left=105, Right=106, Down=108)
SEAT, MANAGER, KEYBOARD = 4, 5, 6  # the ids this client gives its objects
wayland = socket.socket(socket.AF_UNIX)


def send(target, opcode, *args, fd=None):
    # A string goes as its length with the 0 that ends it, then its bytes padded to 4.
    body = b"".join(struct.pack("I", arg) if type(arg) is int else struct.pack("I", len(arg) + 1)
                    + arg.encode().ljust(len(arg) // 4 * 4 + 4, b"\0") for arg in args)
    rights = [(socket.SOL_SOCKET, socket.SCM_RIGHTS, struct.pack("i", fd))] if fd else []
    wayland.sendmsg([struct.pack("II", target, 8 + len(body) << 16 | opcode) + body], rights)


def registry():
    send(1, 1, 2)  # wl_display.get_registry, then .sync: every global comes before its done
    send(1, 0, 3)
    found, data = {}, b""
    while True:
        data += wayland.recv(65536)
        while len(data) >= 8 and len(data) >= (size := struct.unpack_from("I", data, 4)[0] >> 16):
            if struct.unpack_from("I", data)[0] == 3:
                return found
            name, length = struct.unpack_from("II", data, 8)
            found[data[16:15 + length].decode()] = name
            data = data[size:]


def keymap():
    xkb = ctypes.CDLL("libxkbcommon.so.0")
    xkb.xkb_context_new.restype = xkb.xkb_keymap_new_from_names.restype = ctypes.c_void_p
    xkb.xkb_keymap_get_as_string.restype = ctypes.c_char_p
    default = xkb.xkb_keymap_new_from_names(ctypes.c_void_p(xkb.xkb_context_new(0)), None, 0)
    return xkb.xkb_keymap_get_as_string(ctypes.c_void_p(default), 1) + b"\0"


def main():
    wayland.connect(os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"]))
    names = registry()
    for new, interface in ((SEAT, "wl_seat"), (MANAGER, "zwp_virtual_keyboard_manager_v1")):
        send(2, 0, names[interface], interface, 1, new)
    send(MANAGER, 0, SEAT, KEYBOARD)
    fd = os.memfd_create("keymap")
    send(KEYBOARD, 0, 1, os.write(fd, keymap()), fd=fd)  # format 1: XKB text
    while line := sys.stdin.readline():
        for verb, what in zip(line.split()[::2], line.split()[1::2]):
            keys = list(what) if verb == "type" else what.split("+")
            downs, ups = [(key, 1) for key in keys], [(key, 0) for key in keys[::-1]]
            events = {"keydown": downs, "keyup": ups, "key": downs + ups,
                      "type": [(key, state) for key in keys for state in (1, 0)]}.get(verb, [])
            time.sleep(float(what) if verb == "sleep" else 0)
            for key, state in events:
                send(KEYBOARD, 1, int(time.monotonic() * 1000) & 0xFFFFFFFF, KEYS[key], state)
                if key == "ctrl":  # a virtual keyboard's client sets the modifiers itself
                    send(KEYBOARD, 2, 4 * state, 0, 0, 0)


if __name__ == "__main__":
    main()
