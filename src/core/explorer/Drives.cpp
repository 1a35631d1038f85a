#include "Drives.h"

namespace pictra::explorer {

namespace {

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

std::string driveTypeWord(const std::string& type, const std::string& root, bool removable) {
    if (type == "tmpfs" || type == "ramfs") return "RamDisk";
    if (type == "iso9660" || type == "udf") return "CD";
    if (type == "nfs" || type == "nfs4" || type == "cifs" || type == "smb3" || type == "smbfs" ||
        type == "fuse.sshfs" || type == "9p" || type == "davfs" || type == "fuse.rclone") {
        return "Netz";
    }
    if (removable || startsWith(root, "/media/") || startsWith(root, "/run/media/")) return "Wechsel";
    if (type.empty()) return "";
    return "Fest";
}

std::string driveEntryText(const std::string& root, const std::string& typeWord, const std::string& label) {
    std::string text = root + " " + typeWord;
    if (!label.empty()) text += " " + label;
    return text;
}

bool isSystemVolume(const std::string& type, const std::string& root) {
    for (const char* pseudo : {"proc", "sysfs", "devtmpfs", "cgroup", "cgroup2", "devpts", "mqueue", "debugfs",
                               "tracefs", "securityfs", "pstore", "bpf", "autofs", "configfs", "fusectl", "hugetlbfs",
                               "binfmt_misc", "nsfs", "squashfs", "efivarfs"}) {
        if (type == pseudo) return true;
    }
    for (const char* prefix : {"/proc", "/sys", "/dev", "/run", "/snap", "/boot"}) {
        const std::string p = prefix;
        if (root == p || startsWith(root, (p + "/").c_str())) {
            return !(p == "/run" && startsWith(root, "/run/media/"));
        }
    }
    return false;
}

}  // namespace pictra::explorer
