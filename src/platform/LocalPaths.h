#pragma once

#include <QString>
#include <string>

namespace pictra::platform {

// File names on Linux are bytes, the core keeps them as such. Qt turns bytes that
// are not UTF-8 into U+FFFD, so a name such as Latin-1 "caf\xe9.txt" would come
// back from a Qt dialog as a file that does not exist. The path in the local
// 8-bit encoding; where that does not exist, each component that holds U+FFFD is
// looked up among the entries of its folder that Qt shows with the same text.
std::string localPath(const QString& path);

// The bytes of a path as Qt shows them.
QString displayPath(const std::string& path);

}  // namespace pictra::platform
