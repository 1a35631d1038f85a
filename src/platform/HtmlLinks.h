#pragma once

#include <string>
#include <vector>

namespace pictra::platform {

// The link targets of a page in document order (href of a and area, src of frame
// and iframe), read with libxml2's HTML parser, which recovers from broken markup.
std::vector<std::string> htmlLinks(const std::string& html);

}  // namespace pictra::platform
