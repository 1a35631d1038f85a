#pragma once

#include <memory>
#include <string>

class QLockFile;

namespace pictra::platform {

// Guards against a second running instance for the same user: a lock file in
// the user's temporary folder, released when the program ends (a crashed run's
// stale lock is taken over).
class InstanceLock {
public:
    InstanceLock();
    explicit InstanceLock(const std::string& lockFileName);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this is the first instance.
    bool acquire();
    void release();

private:
    std::unique_ptr<QLockFile> m_lock;
};

}  // namespace pictra::platform
