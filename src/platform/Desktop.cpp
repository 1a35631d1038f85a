#include "Desktop.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTextStream>
#include <QUrl>
#include <fstream>
#include <sstream>

#include "Drives.h"
#include "explorer/FileLines.h"

namespace pictra::platform {

namespace {

QString local(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

QStringList splitParameters(const std::string& parameters) {
    return QProcess::splitCommand(QString::fromStdString(parameters));
}

std::string percent(qint64 part, qint64 whole) {
    return whole > 0 ? std::to_string(part * 100 / whole) + " %" : "-";
}

std::string meminfoLine(const std::string& key) {
    std::ifstream in("/proc/meminfo");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key + ":", 0) == 0) return line.substr(key.size() + 1);
    }
    return "?";
}

std::string processorLine() {
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("cpu MHz", 0) == 0) return line.substr(line.find(':') + 1) + " MHz";
    }
    return "?";
}

}  // namespace

bool openWithAssociated(const std::string& path) {
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    if (!opener.isEmpty()) return QProcess::startDetached(opener, {local(path)});
    return QDesktopServices::openUrl(QUrl::fromLocalFile(local(path)));
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

std::string drivesReport() {
    std::ostringstream out;
    out << "Arbeitsspeicher: " << meminfoLine("MemTotal") << ", frei: " << meminfoLine("MemAvailable") << "\r\n";
    out << "Auslagerungsspeicher: " << meminfoLine("SwapTotal") << ", frei: " << meminfoLine("SwapFree") << "\r\n";
    out << "Prozessortakt:" << processorLine() << "\r\n\r\n";
    for (const Drive& d : mountedDrives()) {
        const QStorageInfo info(local(d.root));
        const qint64 total = info.bytesTotal();
        const qint64 free = info.bytesAvailable();
        out << d.root << "  " << d.typeWord << "  Name: " << (d.label.empty() ? "-" : d.label)
            << "  Gerät: " << info.device().toStdString() << "\r\n";
        out << "   gesamt " << explorer::formatSize(static_cast<std::uintmax_t>(std::max<qint64>(total, 0)))
            << " Bytes, belegt " << explorer::formatSize(static_cast<std::uintmax_t>(std::max<qint64>(total - free, 0)))
            << " Bytes (" << percent(total - free, total) << "), frei "
            << explorer::formatSize(static_cast<std::uintmax_t>(std::max<qint64>(free, 0))) << " Bytes ("
            << percent(free, total) << ")\r\n";
    }
    return out.str();
}

std::string documentsFolder() {
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder = !docs.isEmpty() && QDir(docs).exists() ? docs : QDir::homePath();
    return QFile::encodeName(folder).toStdString();
}

}  // namespace pictra::platform
