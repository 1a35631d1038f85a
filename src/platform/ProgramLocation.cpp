#include "ProgramLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace pictra::platform {

namespace {

std::string withSeparator(QString folder) {
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    if (!folder.endsWith('/')) folder += '/';
    return folder.toStdString();
}

}  // namespace

std::string programFolder(const std::string& executablePath) {
    QString home = qEnvironmentVariable("PICTRA_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        return withSeparator(home);
    }
    QFileInfo exe(QString::fromStdString(executablePath));
    QFileInfo dir(exe.absolutePath());
    if (dir.isDir() && dir.isWritable()) return withSeparator(dir.absoluteFilePath());
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty()) data = QDir::homePath() + "/.local/share";
    QString folder = data + "/pictra";
    QDir().mkpath(folder);
    return withSeparator(folder);
}

ProgramPaths programPaths(const std::string& executablePath, const std::vector<std::string>& arguments) {
    ProgramPaths paths;
    paths.folder = programFolder(executablePath);
    QString base = QFileInfo(QString::fromStdString(executablePath)).completeBaseName();
    paths.base = base.isEmpty() ? "pictra" : base.toStdString();
    paths.profile = profileFromArguments(arguments);
    return paths;
}

}  // namespace pictra::platform
