#include "pictures/batch/Scanning.h"

#include "common/PathNames.h"

namespace pictra::pictures::batch {

std::vector<ScannerDevice> scannerDevices(const std::string& listOutput) {
    std::vector<ScannerDevice> devices;
    std::size_t start = 0;
    while (start < listOutput.size()) {
        std::size_t end = listOutput.find('\n', start);
        if (end == std::string::npos)
            end = listOutput.size();
        const std::string line = listOutput.substr(start, end - start);
        start = end + 1;
        if (line.rfind("device `", 0) != 0)
            continue;
        const std::size_t close = line.find("' is a ", 8);
        if (close == std::string::npos)
            continue;
        devices.push_back({line.substr(8, close - 8), line.substr(close + 7)});
    }
    return devices;
}

std::vector<std::string> scanArguments(const std::string& device, const std::string& target) {
    std::vector<std::string> arguments;
    if (!device.empty())
        arguments = {"-d", device};
    arguments.insert(arguments.end(), {"--format=png", "-o", target});
    return arguments;
}

std::string nextPictureName(const std::string& path) {
    const std::string folder = pathnames::folderOf(path);
    const std::string name = pathnames::fileNamePart(path);
    const std::string ext = pathnames::extensionOf(name);
    const std::string base = name.substr(0, name.size() - ext.size());
    const std::size_t first = base.find_first_of("0123456789");
    if (first == std::string::npos)
        return path;
    std::string digits = base.substr(first);
    for (char c : digits) {
        if (c < '0' || c > '9')
            return path;
    }
    // Counting up from the last digit keeps any width (no overflow of a number type).
    std::size_t i = digits.size();
    while (i > 0) {
        --i;
        if (digits[i] != '9') {
            ++digits[i];
            break;
        }
        digits[i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
    }
    const std::string prefix = folder.empty() ? "" : (folder == "/" ? "/" : folder + "/");
    return prefix + base.substr(0, first) + digits + ext;
}

ScanOutcome runScan(ScanProcess& process, const std::vector<std::string>& arguments, bool automatic, Dialogs& dialogs,
                    const std::function<bool()>& targetExists) {
    dialogs.beginCancelWindow("Scanvorgang wird gestartet.");
    if (!process.start(arguments)) {
        dialogs.endCancelWindow();
        dialogs.inform("Hat nicht geklappt!");
        return ScanOutcome::Failed;
    }
    int waited = 0;
    while (!process.waitFinished(100)) {
        waited += 100;
        const std::string text = automatic ? "Scanvorgang wird gestartet." : std::to_string(waited / 1000) + " s";
        if (dialogs.stepCancelWindow(text)) {
            process.kill();
            process.waitFinished(3000);
            dialogs.endCancelWindow();
            dialogs.inform(
                "Abbruch!\rÜberprüfen Sie das Stromkabel und das Verbindungskabel von Scanner zum "
                "Computer.\rWenn das nichts hilft, installieren Sie den Scanner mit der mitgeliefertenn CD neu.");
            return ScanOutcome::Stopped;
        }
    }
    dialogs.endCancelWindow();
    if (!targetExists()) {
        dialogs.inform("Hat nicht geklappt!");
        return ScanOutcome::Failed;
    }
    return ScanOutcome::Scanned;
}

}  // namespace pictra::pictures::batch
