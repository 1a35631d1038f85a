#include "Drives.h"

#include <algorithm>

#include "FileLines.h"

namespace pictra::explorer {

namespace {

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

std::string percent(std::int64_t part, std::int64_t whole) {
    return whole > 0 ? std::to_string(part * 100 / whole) + " %" : "-";
}

std::string bytes(std::int64_t n) {
    return formatSize(static_cast<std::uintmax_t>(std::max<std::int64_t>(n, 0))) + " Bytes";
}

std::string orDash(const std::string& s) { return s.empty() ? "-" : s; }

void appendVolume(std::string& out, const VolumeFigures& v) {
    out += (v.root.empty() ? v.device : v.root) + "  " + v.typeWord + "  Name: " + orDash(v.label) +
           "  Seriennummer: " + orDash(v.serial) + "  Gerät: " + orDash(v.device) + "\r\n";
    if (v.root.empty()) {
        out += "   kein Datenträger eingelegt\r\n";
        return;
    }
    out += "   aktueller Ordner: " + orDash(v.currentFolder) + "\r\n";
    const std::int64_t used = std::max<std::int64_t>(v.total - v.free, 0);
    out += "   gesamt " + bytes(v.total) + ", belegt " + bytes(used) + " (" + percent(used, v.total) + "), frei " +
           bytes(v.free) + " (" + percent(v.free, v.total) + ")\r\n";
}

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

std::string drivesReport(const MachineFigures& m, const std::vector<VolumeFigures>& volumes, bool withFloppies) {
    std::string out = "Arbeitsspeicher: " + m.memoryTotal + ", frei: " + m.memoryFree + "\r\n" +
                      "Auslagerungsspeicher: " + m.swapTotal + ", frei: " + m.swapFree + "\r\n" +
                      "Prozessortakt: " + m.processorClock + "\r\n\r\n";
    if (withFloppies) {
        for (const auto& v : volumes) {
            if (v.floppy) appendVolume(out, v);
        }
    }
    for (const auto& v : volumes) {
        if (!v.floppy) appendVolume(out, v);
    }
    return out;
}

}  // namespace pictra::explorer
