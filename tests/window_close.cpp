#include "window_close.h"

#include <X11/Xlib.h>

namespace {

// The first top-level window titled title, or 0.
Window window_titled(Display* display, const std::string& title) {
  Window root, parent, *children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
  for (unsigned int i = 0; i < count && found == 0; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) != 0 && name != nullptr && title == name) found = children[i];
    XFree(name);
  }
  XFree(children);
  return found;
}

}  // namespace

bool ask_window_to_close(const std::string& title) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  const Window found = window_titled(display, title);
  if (found != 0) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = found;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, found, False, NoEventMask, &event);
    XFlush(display);
  }
  XCloseDisplay(display);
  return found != 0;
}
