#include "Favourites.h"

#include "common/CaseFold.h"
#include "common/Text.h"

namespace pictra::preview {

namespace {

const char* const kDefaultFavourites[] = {
    "https://www.google.de",      "https://de.wikipedia.org", "https://de.selfhtml.org",
    kFavouriteSeparator,          "https://www.tagesschau.de", "https://www.wetter.de",
};

std::vector<std::string> nonEmptyLines(const std::string& list) {
    std::vector<std::string> lines;
    for (auto& line : text::splitLines(list)) {
        if (!text::trim(line).empty()) lines.push_back(text::trim(line));
    }
    return lines;
}

}  // namespace

std::vector<std::string> favourites(SettingsStore& store) {
    std::vector<std::string> lines = nonEmptyLines(store.readList("Hauptmenu", "Favoriten"));
    if (!lines.empty()) return lines;
    lines.assign(std::begin(kDefaultFavourites), std::end(kDefaultFavourites));
    store.writeList("Hauptmenu", "Favoriten", text::joinLines(lines));
    return lines;
}

void addFavourite(SettingsStore& store, Dialogs& dialogs, const std::string& address) {
    std::vector<std::string> lines = favourites(store);
    if (!text::trim(address).empty()) lines.push_back(text::trim(address));
    store.writeList("Hauptmenu", "Favoriten", text::joinLines(lines));
    dialogs.inform(kMsgFavouriteAdded);
}

std::optional<std::string> neighbourFile(const std::vector<std::string>& entries, const std::string& current,
                                         bool next, Dialogs& dialogs) {
    if (entries.size() >= 2) {
        for (size_t i = 0; i < entries.size(); ++i) {
            if (!casefold::equalUtf8(entries[i], current)) continue;
            if (next && i + 1 < entries.size()) return entries[i + 1];
            if (!next && i > 0) return entries[i - 1];
            break;
        }
    }
    dialogs.inform(next ? kMsgNextNotFound : kMsgPreviousNotFound);
    return std::nullopt;
}

}  // namespace pictra::preview
