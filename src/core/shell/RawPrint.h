#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/Dialogs.h"

namespace pictra {

// Printing plain text straight to the printer, in draft or correspondence quality.
class RawPrinter {
public:
    virtual ~RawPrinter() = default;
    // The system's default printer, nullopt when there is none.
    virtual std::optional<std::string> defaultPrinter() = 0;
    // One job of raw bytes; false when the printer refused it.
    virtual bool printRaw(const std::string& printer, const std::string& title, const std::string& bytes) = 0;
};

inline constexpr const char* kMsgNoPrinter = "Kein Drucker eingerichtet. Bitte zuerst einen Drucker einrichten.";

namespace rawprint {

// The text job: `emptyLines` empty lines, then every line in the DOS code page,
// after `blanks` blanks, right-trimmed; a line longer than 80 characters is split
// once at the last blank, "!", "$", ":", ";" or "?" between positions 80 and 41
// (at 40 when there is none), the rest indented like the first part.
std::string textJob(const std::vector<std::string>& lines, int emptyLines, int blanks);

// The printer's mode switch: ESC "I" 0 for needle printers, ESC "(s1Q" for others.
std::string modeJob(bool needlePrinter);

}  // namespace rawprint

// "Nadeldrucker" / "Andere" of the settings dialog: only the mode switch.
void setPrinterMode(RawPrinter& printer, Dialogs& dialogs, bool needlePrinter);

// "Quelltext direkt drucken (Entwurf- bzw. Korrespondenzqualität)".
void printDirect(RawPrinter& printer, Dialogs& dialogs, const std::vector<std::string>& lines,
                 const std::string& title, int emptyLines, int blanks);

}  // namespace pictra
