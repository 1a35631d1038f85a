#pragma once

#include <string>

namespace pictra {

// The fixed page of "Info" and "über Pictra" (UTF-8 HTML).
std::string aboutPage(const std::string& version);

}  // namespace pictra
