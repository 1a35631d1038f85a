#include "OutsidePrograms.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace pictra::platform {

namespace {

constexpr qsizetype kErrorTail = 4000;

QString local(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

}  // namespace

std::string findOutsideProgram(const std::string& name, const std::string& programFolder) {
    if (!programFolder.empty()) {
        const QFileInfo own(local(programFolder + "/" + name));
        if (own.isFile() && own.isExecutable()) return QFile::encodeName(own.absoluteFilePath()).toStdString();
    }
    const QString found = QStandardPaths::findExecutable(local(name));
    return found.isEmpty() ? std::string() : QFile::encodeName(found).toStdString();
}

OutsideRun runOutsideProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& folder, const std::function<bool()>& keepGoing) {
    OutsideRun run;
    QProcess process;
    QStringList args;
    for (const auto& a : arguments) args << local(a);
    if (!folder.empty()) process.setWorkingDirectory(local(folder));
    // Nothing is read from it: a program that asks would otherwise wait for ever.
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(local(program), args);
    if (!process.waitForStarted(10000)) return run;
    run.started = true;
    QByteArray errors;
    const auto drain = [&] {
        process.readAllStandardOutput();
        errors += process.readAllStandardError();
        if (errors.size() > kErrorTail) errors = errors.right(kErrorTail);
    };
    while (!process.waitForFinished(100)) {
        drain();
        if (process.state() == QProcess::NotRunning) break;
        if (!keepGoing()) {
            process.kill();
            process.waitForFinished(5000);
            run.cancelled = true;
            break;
        }
    }
    drain();
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.errors = errors.toStdString();
    return run;
}

}  // namespace pictra::platform
