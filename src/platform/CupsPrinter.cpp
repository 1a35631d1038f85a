#include "CupsPrinter.h"

#include <cups/cups.h>

namespace pictra::platform {

std::optional<std::string> CupsPrinter::defaultPrinter() {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    const cups_dest_t* dest = cupsGetDest(nullptr, nullptr, count, dests);
    std::optional<std::string> name;
    if (dest) name = dest->name;
    cupsFreeDests(count, dests);
    return name;
}

bool CupsPrinter::printRaw(const std::string& printer, const std::string& title, const std::string& bytes) {
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, printer.c_str(), title.c_str(), 0, nullptr);
    if (job == 0) return false;
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, printer.c_str(), job, title.c_str(), CUPS_FORMAT_RAW, 1) !=
        HTTP_STATUS_CONTINUE) {
        return false;
    }
    const bool written = cupsWriteRequestData(CUPS_HTTP_DEFAULT, bytes.data(), bytes.size()) == HTTP_STATUS_CONTINUE;
    const bool finished = cupsFinishDocument(CUPS_HTTP_DEFAULT, printer.c_str()) == IPP_STATUS_OK;
    return written && finished;
}

std::optional<std::string> setDefaultPrinterLandscape() {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    cups_dest_t* dest = cupsGetDest(nullptr, nullptr, count, dests);
    std::optional<std::string> name;
    if (dest) {
        dest->num_options = cupsAddOption("orientation-requested", "4", dest->num_options, &dest->options);
        if (cupsSetDests2(CUPS_HTTP_DEFAULT, count, dests) == 0) name = dest->name;
    }
    cupsFreeDests(count, dests);
    return name;
}

}  // namespace pictra::platform
