#include "Drives.h"

#include <QFile>
#include <QStorageInfo>
#include <algorithm>
#include <filesystem>

#include "explorer/Drives.h"

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

// The volume of a path that need not exist yet (a file about to be written, a
// folder on a stick): that of its nearest existing ancestor.
QString volumeOf(const std::string& path) {
    std::filesystem::path p(path);
    std::error_code ec;
    while (!p.empty() && !std::filesystem::exists(p, ec) && p != p.root_path()) p = p.parent_path();
    if (p.empty()) p = "/";
    return QStorageInfo(QFile::decodeName(QByteArray::fromStdString(p.string()))).rootPath();
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

std::vector<Drive> mountedDrives() {
    std::vector<Drive> drives;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const std::string type = volume.fileSystemType().toStdString();
        const std::string root = QFile::encodeName(volume.rootPath()).toStdString();
        if (!volume.isValid() || explorer::isSystemVolume(type, root)) continue;
        const std::string device = volume.device().toStdString();
        // A medium that is present answers with its size; an empty removable drive is left out.
        const bool removable = device.rfind("/dev/sd", 0) == 0 && root.rfind("/media/", 0) == 0;
        if (removable && (!volume.isReady() || volume.bytesTotal() <= 0)) continue;
        drives.push_back({root, explorer::driveTypeWord(type, root, removable), volume.name().toStdString()});
    }
    std::sort(drives.begin(), drives.end(), [](const Drive& a, const Drive& b) { return a.root < b.root; });
    return drives;
}

std::string driveOf(const std::string& path) { return QFile::encodeName(volumeOf(path)).toStdString(); }

bool sameVolume(const std::string& a, const std::string& b) { return volumeOf(a) == volumeOf(b); }

}  // namespace pictra::platform
