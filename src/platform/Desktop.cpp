#include "Desktop.h"

#include <filesystem>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTextStream>
#include <QUrl>
#include <algorithm>
#include <fstream>

#include "Drives.h"

namespace pictra::platform {

namespace {

QString local(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

QStringList splitParameters(const std::string& parameters) {
    return QProcess::splitCommand(QString::fromStdString(parameters));
}

std::string trimmed(const std::string& s) { return QString::fromStdString(s).trimmed().toStdString(); }

std::string meminfoLine(const std::string& key) {
    std::ifstream in("/proc/meminfo");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key + ":", 0) == 0) return trimmed(line.substr(key.size() + 1));
    }
    return "?";
}

std::string processorLine() {
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("cpu MHz", 0) == 0) return trimmed(line.substr(line.find(':') + 1)) + " MHz";
    }
    return "?";
}

bool isFloppyDevice(const std::string& device) { return device.rfind("/dev/fd", 0) == 0; }

// The file system's UUID, which the udev links name after.
std::string serialOf(const std::string& device) {
    if (device.rfind("/dev/", 0) != 0) return {};
    const QString target = QFileInfo(local(device)).canonicalFilePath();
    const QDir links("/dev/disk/by-uuid");
    for (const QFileInfo& link : links.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (!target.isEmpty() && link.canonicalFilePath() == target) return link.fileName().toStdString();
    }
    return {};
}

// The Exec line of a desktop entry found in the applications folders.
std::string execLineOf(const std::string& desktopId) {
    const QString file =
        QStandardPaths::locate(QStandardPaths::ApplicationsLocation, QString::fromStdString(desktopId));
    QFile entry(file);
    if (file.isEmpty() || !entry.open(QIODevice::ReadOnly)) return {};
    bool mainGroup = false;
    while (!entry.atEnd()) {
        const QString line = QString::fromUtf8(entry.readLine()).trimmed();
        if (line.startsWith('[')) {
            mainGroup = line == "[Desktop Entry]";
        } else if (mainGroup && line.startsWith("Exec=")) {
            return line.mid(5).trimmed().toStdString();
        }
    }
    return {};
}

}  // namespace

bool openWithAssociated(const std::string& path) {
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    if (!opener.isEmpty()) return QProcess::startDetached(opener, {local(path)});
    return QDesktopServices::openUrl(QUrl::fromLocalFile(local(path)));
}

FileType fileTypeOf(const std::string& path) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(local(path));
    FileType result{type.comment().toStdString(), {}};
    if (const auto program = associatedProgram(type.name().toStdString())) {
        const std::string exec = execLineOf(*program);
        result.openCommand = exec.empty() ? *program : exec;
    }
    return result;
}

std::optional<std::string> associatedProgram(const std::string& mimeType) {
    const QString query = QStandardPaths::findExecutable("xdg-mime");
    if (query.isEmpty()) return std::nullopt;
    QProcess process;
    process.start(query, {"query", "default", QString::fromStdString(mimeType)});
    if (!process.waitForFinished(5000) || process.exitCode() != 0) return std::nullopt;
    const std::string entry = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed().toStdString();
    if (entry.empty()) return std::nullopt;
    return entry;
}

bool startInFolder(const std::string& program, const std::string& parameters) {
    const QFileInfo info(local(program));
    return QProcess::startDetached(info.absoluteFilePath(), splitParameters(parameters), info.absolutePath());
}

bool openTerminal(const std::string& folder) {
    for (const char* terminal : {"x-terminal-emulator", "gnome-terminal", "konsole", "xfce4-terminal", "xterm"}) {
        const QString path = QStandardPaths::findExecutable(terminal);
        if (!path.isEmpty()) return QProcess::startDetached(path, {}, local(folder));
    }
    return false;
}

std::optional<std::string> consoleOutput(const std::string& program, const std::string& parameters,
                                         const std::function<bool()>& keepWaiting) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QFileInfo info(local(program));
    process.setWorkingDirectory(info.absolutePath());
    process.start(info.absoluteFilePath(), splitParameters(parameters));
    if (!process.waitForStarted(5000)) return std::nullopt;
    std::string output;
    while (process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(100);
        output += process.readAll().toStdString();
        if (keepWaiting && !keepWaiting()) {
            process.kill();
            process.waitForFinished(2000);
            break;
        }
    }
    output += process.readAll().toStdString();
    return output;
}

explorer::MachineFigures machineFigures() {
    return {meminfoLine("MemTotal"), meminfoLine("MemAvailable"), meminfoLine("SwapTotal"), meminfoLine("SwapFree"),
            processorLine()};
}

std::vector<explorer::VolumeFigures> volumeFigures() {
    std::vector<explorer::VolumeFigures> volumes;
    std::vector<std::string> floppiesMounted;
    for (const Drive& d : mountedDrives()) {
        const QStorageInfo info(local(d.root));
        const std::string device = info.device().toStdString();
        const bool floppy = isFloppyDevice(device);
        if (floppy) floppiesMounted.push_back(device);
        volumes.push_back({d.root, floppy ? "Diskette" : d.typeWord, d.label, device, serialOf(device), {},
                           std::max<qint64>(info.bytesTotal(), 0), std::max<qint64>(info.bytesAvailable(), 0), floppy});
    }
    // Floppy drives without a disk are listed all the same, as drives A and B were.
    const QDir block("/sys/block");
    for (const QString& name : block.entryList({"fd*"}, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
        const std::string device = "/dev/" + name.toStdString();
        if (std::find(floppiesMounted.begin(), floppiesMounted.end(), device) != floppiesMounted.end()) continue;
        volumes.push_back({{}, "Diskette", {}, device, {}, {}, 0, 0, true});
    }
    return volumes;
}

std::string documentsFolder() {
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder = !docs.isEmpty() && QDir(docs).exists() ? docs : QDir::homePath();
    return QFile::encodeName(folder).toStdString();
}

}  // namespace pictra::platform

namespace pictra::platform {

bool hasGraphicsCard() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec)) {
        if (entry.path().filename().string().rfind("renderD", 0) == 0) return true;
    }
    return false;
}

}  // namespace pictra::platform
