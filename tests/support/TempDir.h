#pragma once

#include <string>

namespace pictra::test {

// A fresh folder under the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder with a trailing "/".
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + name; }

    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;

private:
    std::string m_path;
};

}  // namespace pictra::test
