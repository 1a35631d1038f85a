#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "settings/SettingsStore.h"

namespace pictra::preview {

inline constexpr const char* kFavouriteSeparator = "-";
inline constexpr const char* kMsgFavouriteAdded = "Beim nächsten Start ist der Link abrufbar.";
inline constexpr const char* kMsgNextNotFound = "Nächste Datei nicht gefunden!";
inline constexpr const char* kMsgPreviousNotFound = "Vorhergende Datei nicht gefunden!";

// The favourites ("Hauptmenu"/"Favoriten", one address a line, "-" a separator);
// an empty list is replaced by the built-in one, which is stored.
std::vector<std::string> favourites(SettingsStore& store);
// "Link den Favoriten zufügen": the address as a new last line.
void addFavourite(SettingsStore& store, Dialogs& dialogs, const std::string& address);

// The entry after (or before) `current` in the explorer's list, compared ignoring
// case; nullopt, with the message of that direction, when there is none.
std::optional<std::string> neighbourFile(const std::vector<std::string>& entries, const std::string& current,
                                         bool next, Dialogs& dialogs);

}  // namespace pictra::preview
