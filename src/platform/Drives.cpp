#include "Drives.h"

#include <QStorageInfo>

namespace pictra::platform {

namespace {

bool isSystemMount(const QStorageInfo& volume) {
    const QString root = volume.rootPath();
    const QByteArray type = volume.fileSystemType();
    static const QList<QByteArray> pseudo = {"proc", "sysfs", "tmpfs", "devtmpfs", "overlay", "cgroup", "cgroup2",
                                             "devpts", "mqueue", "squashfs", "autofs", "fuse.portal"};
    return pseudo.contains(type) || root.startsWith("/proc") || root.startsWith("/sys") || root.startsWith("/dev") ||
           root.startsWith("/run") || root == "/boot" || root.startsWith("/boot/") || root.startsWith("/snap");
}

}  // namespace

std::string defaultSecondDriveFolder(const std::string& folder) {
    const QStorageInfo own(QString::fromStdString(folder));
    QString fallback;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || volume.isReadOnly() || isSystemMount(volume)) continue;
        if (volume.rootPath() == own.rootPath()) continue;
        const QString root = volume.rootPath();
        if (root.startsWith("/media") || root.startsWith("/mnt")) return (root + "/").toStdString();
        if (fallback.isEmpty()) fallback = root + "/";
    }
    return fallback.toStdString();
}

bool sameVolume(const std::string& a, const std::string& b) {
    return QStorageInfo(QString::fromStdString(a)).rootPath() == QStorageInfo(QString::fromStdString(b)).rootPath();
}

}  // namespace pictra::platform
