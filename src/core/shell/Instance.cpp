#include "Instance.h"

namespace pictra {

std::optional<bool> decideInstance(bool lockAcquired, Dialogs& dialogs) {
    if (lockAcquired) return false;
    if (dialogs.ask(kAskSecondInstance) != Answer::Yes) return std::nullopt;
    return true;
}

}  // namespace pictra
