#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "explorer/Drives.h"

// The desktop's services in place of the Windows shell: associated programs,
// the file manager, a terminal, console programs and the machine's figures.
namespace pictra::platform {

// Opens a file or folder with the program the desktop associates with it
// (xdg-open); false when none could be started.
bool openWithAssociated(const std::string& path);

// The desktop entry of the program associated with a MIME type; nullopt when
// none is (or the desktop cannot be asked).
std::optional<std::string> associatedProgram(const std::string& mimeType);

// What the desktop says of a file's type: its name ("Einfaches Textdokument" under
// a German locale) and the command line of the program that opens it by default
// (the Exec line of its desktop entry); the command is empty when none is known.
struct FileType {
    std::string name;
    std::string openCommand;
};
FileType fileTypeOf(const std::string& path);

// Starts a program file in its own folder with the parameters split at blanks.
bool startInFolder(const std::string& program, const std::string& parameters);

// The user's terminal emulator in `folder`; false when none is installed.
bool openTerminal(const std::string& folder);

// Runs a program with its output (stdout and stderr) read through a pipe until it
// ends; nullopt when it cannot be started. `keepWaiting` is asked between reads
// and stops the program when it returns false.
std::optional<std::string> consoleOutput(const std::string& program, const std::string& parameters,
                                         const std::function<bool()>& keepWaiting);

// Memory and processor figures, and every volume with its sizes, floppy drives
// included (those without a disk as well), for the "Laufwerke" report.
explorer::MachineFigures machineFigures();
std::vector<explorer::VolumeFigures> volumeFigures();

// The user's personal documents folder (XDG documents, else the home folder).
std::string documentsFolder();

}  // namespace pictra::platform

namespace pictra::platform {

// Whether the machine has a graphics card the desktop can draw with (a render
// node under /dev/dri); without one, OpenGL is only emulated on the processor.
bool hasGraphicsCard();

}  // namespace pictra::platform
