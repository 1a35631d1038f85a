#pragma once

#include <cstddef>
#include <string>

namespace pictra::common {

// Reserves room for a text of `bytes` and, for a text of megabytes, asks the
// system to back it with large pages: writing a fresh buffer of 4 KB pages
// costs a fault for every page, and those faults outweigh the writing.
void reserveLarge(std::string& text, std::size_t bytes);
// The same advice for any buffer of `bytes` at `data`, such as a reserved vector's.
void adviseLarge(const void* data, std::size_t bytes);

}  // namespace pictra::common
