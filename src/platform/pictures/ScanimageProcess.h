#pragma once

#include <QProcess>
#include <string>
#include <vector>

#include "pictures/batch/Scanning.h"

namespace pictra::platform::pictures {

// SANE's "scanimage", started with an argument vector.
class ScanimageProcess : public pictra::pictures::batch::ScanProcess {
public:
    bool start(const std::vector<std::string>& arguments) override;
    bool waitFinished(int milliseconds) override;
    void kill() override;

    // "scanimage -L" (up to ten seconds); "" when it cannot be run.
    static std::string listDevices();

private:
    QProcess m_process;
};

}  // namespace pictra::platform::pictures
