#include "RawPrint.h"

#include "common/Codec.h"
#include "common/Text.h"

namespace pictra::rawprint {

namespace {

std::string rightTrimmed(const std::string& s) {
    const size_t end = s.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

std::string trimmedBlanks(const std::string& s) {
    const size_t start = s.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : rightTrimmed(s.substr(start));
}

void appendSplit(std::string& out, const std::string& line) {
    if (line.size() <= 80) {
        out += line + "\r\n";
        return;
    }
    size_t position = 40;  // counted from 1
    for (size_t p = 80; p >= 41; --p) {
        const char c = line[p - 1];
        if (c == ' ' || c == '!' || c == '$' || c == ':' || c == ';' || c == '?') {
            position = p;
            break;
        }
    }
    const std::string first = rightTrimmed(line.substr(0, position));
    out += first + "\r\n";
    const std::string rest = trimmedBlanks(line.substr(position));
    if (rest.empty()) return;
    const size_t indent = first.find_first_not_of(' ');
    out += std::string(indent == std::string::npos ? 0 : indent, ' ') + rest + "\r\n";
}

}  // namespace

std::string textJob(const std::vector<std::string>& lines, int emptyLines, int blanks) {
    std::string out;
    for (int i = 0; i < emptyLines; ++i) out += "\r\n";
    const std::string prefix(static_cast<size_t>(std::max(0, blanks)), ' ');
    for (const auto& line : lines) appendSplit(out, rightTrimmed(prefix + codec::cp1252ToCp850(line)));
    return out;
}

std::string modeJob(bool needlePrinter) {
    return needlePrinter ? std::string("\x1bI\0", 3) : std::string("\x1b(s1Q");
}

}  // namespace pictra::rawprint

namespace pictra {

void setPrinterMode(RawPrinter& printer, Dialogs& dialogs, bool needlePrinter) {
    const auto name = printer.defaultPrinter();
    if (!name) {
        dialogs.inform(kMsgNoPrinter);
        return;
    }
    if (!printer.printRaw(*name, "Druckermodus", rawprint::modeJob(needlePrinter))) {
        dialogs.inform("Der Drucker \"" + *name + "\" hat den Druckauftrag nicht angenommen.");
    }
}

void printDirect(RawPrinter& printer, Dialogs& dialogs, const std::vector<std::string>& lines,
                 const std::string& title, int emptyLines, int blanks) {
    const auto name = printer.defaultPrinter();
    if (!name) {
        dialogs.inform(kMsgNoPrinter);
        return;
    }
    const bool needle = dialogs.ask("Auf Nadeldrucker? (Nein: Andere Drucker)") == Answer::Yes;
    bool ok = printer.printRaw(*name, "Druckermodus", rawprint::modeJob(needle));
    ok = ok && printer.printRaw(*name, title, rawprint::textJob(lines, emptyLines, blanks));
    if (!ok) {
        dialogs.inform("Der Drucker \"" + *name + "\" hat den Druckauftrag nicht angenommen.");
        return;
    }
    if (dialogs.ask("Seite auswerfen") == Answer::Yes) printer.printRaw(*name, "Seite auswerfen", "\f");
}

}  // namespace pictra
