#pragma once

#include <string>

// Parts of a path ("/" separated, names as bytes).
namespace pictra::pathnames {

// The extension from the last "." of the file-name part, with the dot ("" when none).
std::string extensionOf(const std::string& path);
// The same lower-cased (ASCII).
std::string lowerExtension(const std::string& path);
// The folder without a trailing separator ("/" for a file in the root, "" without a folder).
std::string folderOf(const std::string& path);
std::string fileNamePart(const std::string& path);

}  // namespace pictra::pathnames
