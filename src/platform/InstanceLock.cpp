#include "InstanceLock.h"

#include <QDir>
#include <QLockFile>
#include <unistd.h>

namespace pictra::platform {

InstanceLock::InstanceLock()
    : m_lock(std::make_unique<QLockFile>(QDir::tempPath() + QString("/pictra-%1.lock").arg(::getuid()))) {
    m_lock->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::acquire() { return m_lock->tryLock(0); }

void InstanceLock::release() { m_lock->unlock(); }

}  // namespace pictra::platform
