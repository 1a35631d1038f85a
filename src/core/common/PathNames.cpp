#include "PathNames.h"

#include "common/Text.h"

namespace pictra::pathnames {

std::string fileNamePart(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string extensionOf(const std::string& path) {
    const std::string name = fileNamePart(path);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string lowerExtension(const std::string& path) { return text::toLowerAscii(extensionOf(path)); }

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace pictra::pathnames
