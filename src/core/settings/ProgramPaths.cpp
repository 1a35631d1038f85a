#include "ProgramPaths.h"

namespace pictra {

std::string profileFromArguments(const std::vector<std::string>& arguments) {
    if (arguments.size() < 2) return {};
    std::string profile;
    for (char c : arguments.front()) {
        if (static_cast<unsigned char>(c) <= 12) continue;
        profile.push_back(c == '/' || c == '\\' ? '_' : c);
    }
    return profile;
}

}  // namespace pictra
