#pragma once

#include "shell/RawPrint.h"

namespace pictra::platform {

// Raw print jobs through CUPS.
class CupsPrinter : public RawPrinter {
public:
    std::optional<std::string> defaultPrinter() override;
    bool printRaw(const std::string& printer, const std::string& title, const std::string& bytes) override;
};

}  // namespace pictra::platform
