#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/Dialogs.h"

// Scanning through SANE's command-line front end, run as an outside process so a
// hanging scanner driver can never freeze the window.
namespace pictra::pictures::batch {

struct ScannerDevice {
    std::string name;  // as "-d" takes it
    std::string description;
};
// The devices of "scanimage -L" output ("device `test:0' is a Noname … device").
std::vector<ScannerDevice> scannerDevices(const std::string& listOutput);
// The argument vector of one scan into `target` (PNG); an empty device: SANE's default.
std::vector<std::string> scanArguments(const std::string& device, const std::string& target);
// "Scannen automatisch"'s next picture name: the number after the prefix increased
// by one with leading zeros to its former width ("bild009.png" → "bild010.png");
// a name without a number stays.
std::string nextPictureName(const std::string& path);

// The running scan.
class ScanProcess {
public:
    virtual ~ScanProcess() = default;
    // False when the program could not be started.
    virtual bool start(const std::vector<std::string>& arguments) = 0;
    // Waits up to `milliseconds`; true once the process has ended.
    virtual bool waitFinished(int milliseconds) = 0;
    virtual void kill() = 0;
};

enum class ScanOutcome { Scanned, Failed, Stopped };

// Starts the scan, polls it every 100 ms under the cancel window (showing the
// seconds waited unless `automatic`), kills it on a click, and tells the user what
// went wrong. `targetExists` says whether the scan left its picture.
ScanOutcome runScan(ScanProcess& process, const std::vector<std::string>& arguments, bool automatic, Dialogs& dialogs,
                    const std::function<bool()>& targetExists);

}  // namespace pictra::pictures::batch
