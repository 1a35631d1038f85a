#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace pictra::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pictra-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    m_path = pattern + "/";
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

void TempDir::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(file(name), std::ios::binary);
    out << bytes;
}

std::string TempDir::read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace pictra::test
