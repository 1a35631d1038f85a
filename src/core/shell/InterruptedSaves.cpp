#include "InterruptedSaves.h"

#include <filesystem>

#include "common/FileIo.h"

namespace pictra {

namespace {

std::string cutOff(const std::string& path) {
    return "Das Speichern von \"" + path + "\" wurde unterbrochen (Absturz oder Stromausfall).\rDie Datei ist "
           "vermutlich unvollständig.";
}

}  // namespace

void offerInterruptedSaves(const ProgramPaths& paths, Dialogs& dialogs) {
    for (const fileio::InterruptedWrite& write : fileio::interruptedWrites(paths.folder)) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(write.backup, ec)) {
            dialogs.inform(cutOff(write.path) + "\r\rDie Sicherungskopie \"" + write.backup +
                           "\" ist nicht mehr vorhanden.");
            fileio::forgetInterruptedWrite(write);
            continue;
        }
        if (dialogs.ask(cutOff(write.path) + "\r\rDer alte Stand liegt im Papierkorb:\r\"" + write.backup +
                        "\"\r\rAlten Stand wiederherstellen?") != Answer::Yes) {
            fileio::forgetInterruptedWrite(write);
            continue;
        }
        // A failed restore keeps the record: the next start asks again.
        if (fileio::restoreInterruptedWrite(write, paths.folder) != fileio::WriteResult::Written) {
            dialogs.inform("\"" + write.path + "\" konnte nicht wiederhergestellt werden.\rDer alte Stand bleibt im "
                           "Papierkorb:\r\"" + write.backup + "\"");
        }
    }
}

}  // namespace pictra
