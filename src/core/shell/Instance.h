#pragma once

#include <optional>

#include "common/Dialogs.h"

namespace pictra {

inline constexpr const char* kAskSecondInstance = "Soll eine weitere Instanz von Pictra gestartet werden?";

// Whether this run goes on, given whether the single-instance lock was free:
// nullopt ends the program; otherwise true for a second instance.
std::optional<bool> decideInstance(bool lockAcquired, Dialogs& dialogs);

}  // namespace pictra
