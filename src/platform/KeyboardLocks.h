#pragma once

namespace pictra::platform {

// Num Lock and Caps Lock through X11 where the program runs on X11; elsewhere
// the keyboard is left alone. Returns false when nothing could be set.
bool setNumLock(bool on);
bool setCapsLock(bool on);

}  // namespace pictra::platform
