// libX11 through dlopen: the few calls and types used are declared here, so the build needs no
// X headers. An X error (a window gone between two calls) is ignored and reads as unknown.
// Depends on: x11_display.h, x11_keys.h, dlfcn.
#include "platform/terminal/x11_display.h"

#include <dlfcn.h>

#include <cstdlib>

namespace term {
namespace {

struct Display;
using Window = unsigned long;
using ErrorHandler = int (*)(Display*, void*);

constexpr unsigned kUseCoreKeyboard = 0x0100;

struct XLibrary {
  Display* (*openDisplay)(const char*);
  Window (*defaultRootWindow)(Display*);
  ErrorHandler (*setErrorHandler)(ErrorHandler);
  int (*queryKeymap)(Display*, char*);
  unsigned char (*keysymToKeycode)(Display*, unsigned long);
  int (*getInputFocus)(Display*, Window*, int*);
  int (*queryTree)(Display*, Window, Window*, Window*, Window**, unsigned*);
  int (*free)(void*);
  int (*getAutoRepeatRate)(Display*, unsigned, unsigned*, unsigned*);
};

struct Connection {
  XLibrary x{};
  Display* display = nullptr;
  Window root = 0;
  Window terminal = 0;
  XKeyCodes keyCodes;
  Window judgedFocus = 0;  // the focus window last judged, and the verdict
  Focus verdict = Focus::Unknown;
};

Connection connection;

int ignoreError(Display*, void*) {
  return 0;
}

template <typename Function>
bool load(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

bool loadLibrary(XLibrary& x) {
  void* library = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
  return library && load(library, "XOpenDisplay", x.openDisplay) &&
         load(library, "XDefaultRootWindow", x.defaultRootWindow) &&
         load(library, "XSetErrorHandler", x.setErrorHandler) &&
         load(library, "XQueryKeymap", x.queryKeymap) &&
         load(library, "XKeysymToKeycode", x.keysymToKeycode) &&
         load(library, "XGetInputFocus", x.getInputFocus) &&
         load(library, "XQueryTree", x.queryTree) && load(library, "XFree", x.free) &&
         load(library, "XkbGetAutoRepeatRate", x.getAutoRepeatRate);
}

Window parentOf(Window window) {
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  Connection& c = connection;
  if (!c.x.queryTree(c.display, window, &root, &parent, &children, &count)) return 0;
  if (children) c.x.free(children);
  return parent;
}

}  // namespace

bool openXDisplay() {
  Connection& c = connection;
  const char* display = std::getenv("DISPLAY");
  const char* window = std::getenv("WINDOWID");
  // Keys typed into a Wayland window never reach the X server: a terminal without an X window
  // of its own may well be one.
  if (!window && std::getenv("WAYLAND_DISPLAY")) return false;
  if (!display || !*display || !loadLibrary(c.x)) return false;
  c.display = c.x.openDisplay(display);
  if (!c.display) return false;
  c.x.setErrorHandler(ignoreError);
  c.root = c.x.defaultRootWindow(c.display);
  c.terminal = window ? std::strtoul(window, nullptr, 10) : 0;
  c.keyCodes = mapXKeys([](unsigned long symbol) {
    return static_cast<int>(connection.x.keysymToKeycode(connection.display, symbol));
  });
  return true;
}

XKeyboardState readXKeyboard(Focus reportedFocus) {
  XKeyboardState state;
  Connection& c = connection;
  if (!c.display) return state;
  Window focus = 0;
  int revert = 0;
  c.x.getInputFocus(c.display, &focus, &revert);
  // The window tree rarely changes; judge a focus window once, until the focus moves.
  if (focus != c.judgedFocus || c.verdict == Focus::Unknown) {
    c.judgedFocus = focus;
    c.verdict = judgeFocus(focus, c.terminal, c.root, parentOf);
  }
  state.focus = c.verdict != Focus::Unknown ? c.verdict : reportedFocus;
  if (state.focus != Focus::Ours) return state;
  char keymap[32] = {};
  c.x.queryKeymap(c.display, keymap);
  state.down = keysDownIn(c.keyCodes, keymap);
  return state;
}

bool readXRepeatRate(int& delayMs, int& intervalMs) {
  Connection& c = connection;
  unsigned delay = 0, interval = 0;
  if (!c.display || !c.x.getAutoRepeatRate(c.display, kUseCoreKeyboard, &delay, &interval)) {
    return false;
  }
  delayMs = static_cast<int>(delay);
  intervalMs = static_cast<int>(interval);
  return true;
}

}  // namespace term
