#include "ScanimageProcess.h"

#include <QStringList>

namespace pictra::platform::pictures {

namespace {

QStringList argumentList(const std::vector<std::string>& arguments) {
    QStringList list;
    for (const auto& a : arguments) list << QString::fromStdString(a);
    return list;
}

}  // namespace

bool ScanimageProcess::start(const std::vector<std::string>& arguments) {
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.start("scanimage", argumentList(arguments));
    return m_process.waitForStarted(5000);
}

bool ScanimageProcess::waitFinished(int milliseconds) {
    if (m_process.state() == QProcess::NotRunning)
        return true;
    return m_process.waitForFinished(milliseconds) || m_process.state() == QProcess::NotRunning;
}

void ScanimageProcess::kill() {
    m_process.kill();
}

std::string ScanimageProcess::listDevices() {
    QProcess process;
    process.start("scanimage", {"-L"});
    if (!process.waitForStarted(5000) || !process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    return process.readAllStandardOutput().toStdString();
}

}  // namespace pictra::platform::pictures
