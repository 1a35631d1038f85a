#include "Processes.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace pictra::platform {

bool startProgram(const std::string& program, const std::vector<std::string>& arguments) {
    const QString path = QStandardPaths::findExecutable(QString::fromStdString(program));
    if (path.isEmpty()) return false;
    QStringList args;
    for (const auto& a : arguments) args << QString::fromStdString(a);
    return QProcess::startDetached(path, args);
}

}  // namespace pictra::platform
