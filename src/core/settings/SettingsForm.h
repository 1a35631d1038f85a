#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/Dialogs.h"
#include "settings/SettingsStore.h"

// What the settings dialog shows and stores, without the window.
namespace pictra {

inline constexpr const char* kSectionSettings = "Einstellungen";

struct SettingsFormValues {
    bool explorerHeightFixed = false;
    int toneDuration = 100;
    int volume = 100;
    int jp0FontSize = 12;
    std::uint32_t jp0TextColour = 0x000000;
    std::uint32_t jp0BackgroundColour = 0xFFFFFF;
    bool secondCopy = false;
    std::string secondCopyFolder;
    std::string tempFolder;
    bool appointmentsAtStart = false;
    std::string appointmentFile;
    bool pictures48 = false;
    bool explorerPreview = true;
    int marginTop = 0;
    int marginLeft = 0;
    int marginRight = 0;
    int blanksLeft = 0;
    int linesTop = 0;
    int numLock = 0;
};

// `defaultSecondFolder` is shown when no folder for the second copy is stored.
SettingsFormValues readSettingsForm(const SettingsStore& store, const std::string& defaultSecondFolder);

// What "Schließen" writes. The font and the appointment file are written when chosen.
void writeSettingsForm(SettingsStore& store, const SettingsFormValues& values);

// The keys written at once while the dialog is open.
void writeExplorerHeightFixed(SettingsStore& store, bool fixed);
void writeVolume(SettingsStore& store, int volume);
void writeMargins(SettingsStore& store, int top, int left, int right);
void writeNumLock(SettingsStore& store, int index);

// The editor font of the settings: absent or bad values fall back to
// "Courier New", 12 points, plain.
FontSpec readEditorFont(const SettingsStore& store);
void writeEditorFont(SettingsStore& store, const FontSpec& font);
// "Schrift Standard".
void writeStandardEditorFont(SettingsStore& store);

// The four "0"/"1" characters of a style: bold, italic, underline, strike-out.
std::string encodeFontStyle(const FontSpec& font);

// Tone settings as the tones use them.
int toneDurationMs(const SettingsStore& store);
int toneVolume(const SettingsStore& store);

}  // namespace pictra

namespace pictra {

inline constexpr const char* kMsgFolderUnreachable = "Auf das Verzeichnis kann zur Zeit nicht zugegriffen werden!";

// Folder chooser of the settings dialog: a chosen folder that cannot be read is
// refused with a message.
std::optional<std::string> chooseReachableFolder(Dialogs& dialogs, const std::string& title,
                                                 const std::string& start);

}  // namespace pictra
