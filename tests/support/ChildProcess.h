#pragma once

#include <functional>
#include <string>

namespace pictra::test {

struct ChildEnd {
    bool killed = false;  // ended by SIGKILL (the crash hook)
    int exitCode = -1;
};

// Runs `work` in a forked copy of the test process; its return value becomes the
// exit code. `asNobody`: the child drops root first (uid and gid 65534), so that
// folder permissions apply to it as they do to a user.
ChildEnd runInChild(const std::function<int()>& work, bool asNobody = false);

// A tmpfs of `bytes` mounted on an existing folder for the test's lifetime, for
// full-disk cases; mounted() is false where the machine does not allow mounting.
class SmallVolume {
public:
    SmallVolume(const std::string& folder, unsigned long bytes);
    ~SmallVolume();
    SmallVolume(const SmallVolume&) = delete;
    SmallVolume& operator=(const SmallVolume&) = delete;
    bool mounted() const { return m_mounted; }

private:
    std::string m_folder;
    bool m_mounted = false;
};

}  // namespace pictra::test
