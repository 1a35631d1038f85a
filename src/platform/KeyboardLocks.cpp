#include "KeyboardLocks.h"

#include <QGuiApplication>
#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace pictra::platform {

namespace {

Display* x11Display() {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

bool setLock(KeySym key, bool on) {
    Display* display = x11Display();
    if (!display) return false;
    const unsigned int mask = XkbKeysymToModifiers(display, key);
    if (mask == 0) return false;
    XkbLockModifiers(display, XkbUseCoreKbd, mask, on ? mask : 0);
    XFlush(display);
    return true;
}

}  // namespace

bool setNumLock(bool on) { return setLock(XK_Num_Lock, on); }

// Caps Lock is modifier "Lock" on every X11 keyboard.
bool setCapsLock(bool on) {
    Display* display = x11Display();
    if (!display) return false;
    XkbLockModifiers(display, XkbUseCoreKbd, LockMask, on ? LockMask : 0);
    XFlush(display);
    return true;
}

}  // namespace pictra::platform
