#include "InstanceLock.h"

#include <QDir>
#include <QLockFile>
#include <unistd.h>

namespace pictra::platform {

InstanceLock::InstanceLock()
    : InstanceLock((QDir::tempPath() + QString("/pictra-%1.lock").arg(::getuid())).toStdString()) {}

InstanceLock::InstanceLock(const std::string& lockFileName)
    : m_lock(std::make_unique<QLockFile>(QString::fromStdString(lockFileName))) {
    m_lock->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::acquire() {
    if (m_lock->tryLock(0)) return true;
    // A lock file that names no live process of ours (empty or garbled after a
    // crash or a full disk) would make every later start ask the question again.
    qint64 pid = 0;
    QString host;
    QString application;
    if (m_lock->error() == QLockFile::LockFailedError && !m_lock->getLockInfo(&pid, &host, &application)) {
        m_lock->removeStaleLockFile();
        return m_lock->tryLock(0);
    }
    return false;
}

void InstanceLock::release() { m_lock->unlock(); }

}  // namespace pictra::platform
