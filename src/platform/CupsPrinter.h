#pragma once

#include "shell/RawPrint.h"

namespace pictra::platform {

// Raw print jobs through CUPS.
class CupsPrinter : public RawPrinter {
public:
    std::optional<std::string> defaultPrinter() override;
    bool printRaw(const std::string& printer, const std::string& title, const std::string& bytes) override;
};

// "Drucker auf Querformat stellen": the default printer prints landscape from now
// on (the user's printer options). The printer's name, or nullopt without a printer.
std::optional<std::string> setDefaultPrinterLandscape();

}  // namespace pictra::platform
