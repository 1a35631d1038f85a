#include "SettingsForm.h"

#include <algorithm>

#include "common/Text.h"

namespace pictra {

namespace {

constexpr const char* kS = kSectionSettings;

int toInt(const std::string& value, int fallback) {
    return static_cast<int>(std::clamp<long long>(text::toIntDef(value, fallback), -2147483647, 2147483647));
}

std::string yesNo(bool b) { return b ? "Ja" : "Nein"; }

}  // namespace

SettingsFormValues readSettingsForm(const SettingsStore& store, const std::string& defaultSecondFolder) {
    SettingsFormValues v;
    v.explorerHeightFixed = !store.readValue("Explorer", "ExplorerhoeheNichtAnpassen").empty();
    std::string duration = store.readValue(kS, "Tondauer");
    v.toneDuration = duration.empty() ? 100 : toInt(duration, 0);
    std::string volume = store.readValue(kS, "Tonstaerke");
    v.volume = volume.empty() ? 100 : std::clamp(toInt(volume, 100), 0, 100);
    v.jp0FontSize = toInt(store.readValue(kS, "JP0Schriftgröße"), 12);
    if (v.jp0FontSize < 6) v.jp0FontSize = 12;
    v.jp0TextColour = static_cast<std::uint32_t>(text::toIntDef(store.readValue(kS, "JP0Schriftfarbe"), 0x000000));
    v.jp0BackgroundColour =
        static_cast<std::uint32_t>(text::toIntDef(store.readValue(kS, "JP0Hintergrundfarbe"), 0xFFFFFF));
    v.secondCopy = store.readValue(kS, "SicherungAuZweitesTraeger") == "Ja";
    v.secondCopyFolder = store.readValue(kS, "OrdnerfuerSicherungZweiterTraeger");
    if (v.secondCopyFolder.empty()) v.secondCopyFolder = defaultSecondFolder;
    v.tempFolder = store.readValue(kS, "Temp");
    v.appointmentsAtStart = store.readValue(kS, "Termine stets anzeigen") == "Ja";
    v.appointmentFile = store.readValue(kS, "Termindatei");
    v.pictures48 = store.readValue(kS, "AnzahlBilderBeimÜberblick") == "48";
    v.explorerPreview = store.readValue(kS, "ExplorerBildvorschau") != "Nein";
    v.marginTop = toInt(store.readValue(kS, "Rand oben"), 0);
    v.marginLeft = toInt(store.readValue(kS, "Rand links"), 0);
    v.marginRight = toInt(store.readValue(kS, "Rand rechts"), 0);
    v.blanksLeft = toInt(store.readValue(kS, "Leerstellen"), 0);
    v.linesTop = toInt(store.readValue(kS, "Leerzeilen"), 0);
    int numLock = toInt(store.readValue(kS, "Numlock"), 0);
    v.numLock = numLock >= 0 && numLock <= 2 ? numLock : 0;
    return v;
}

void writeExplorerHeightFixed(SettingsStore& store, bool fixed) {
    store.writeValue("Explorer", "ExplorerhoeheNichtAnpassen", fixed ? "Ja" : "");
}

void writeVolume(SettingsStore& store, int volume) { store.writeValue(kS, "Tonstaerke", std::to_string(volume)); }

void writeMargins(SettingsStore& store, int top, int left, int right) {
    store.writeValue(kS, "Rand oben", std::to_string(top));
    store.writeValue(kS, "Rand links", std::to_string(left));
    store.writeValue(kS, "Rand rechts", std::to_string(right));
}

void writeNumLock(SettingsStore& store, int index) { store.writeValue(kS, "Numlock", std::to_string(index)); }

void writeSettingsForm(SettingsStore& store, const SettingsFormValues& v) {
    writeExplorerHeightFixed(store, v.explorerHeightFixed);
    store.writeValue(kS, "Tondauer", std::to_string(v.toneDuration));
    writeVolume(store, v.volume);
    store.writeValue(kS, "JP0Schriftgröße", std::to_string(v.jp0FontSize));
    store.writeValue(kS, "JP0Schriftfarbe", std::to_string(v.jp0TextColour));
    store.writeValue(kS, "JP0Hintergrundfarbe", std::to_string(v.jp0BackgroundColour));
    store.writeValue(kS, "SicherungAuZweitesTraeger", yesNo(v.secondCopy));
    store.writeValue(kS, "OrdnerfuerSicherungZweiterTraeger", v.secondCopyFolder);
    store.writeValue(kS, "Temp", v.tempFolder);
    store.writeValue(kS, "Termine stets anzeigen", yesNo(v.appointmentsAtStart));
    store.writeValue(kS, "AnzahlBilderBeimÜberblick", v.pictures48 ? "48" : "");
    store.writeValue(kS, "ExplorerBildvorschau", v.explorerPreview ? "" : "Nein");
    writeMargins(store, v.marginTop, v.marginLeft, v.marginRight);
    store.writeValue(kS, "Leerstellen", std::to_string(v.blanksLeft));
    store.writeValue(kS, "Leerzeilen", std::to_string(v.linesTop));
}

FontSpec readEditorFont(const SettingsStore& store) {
    FontSpec f;
    std::string name = store.readValue(kS, "Schrift");
    f.name = name.empty() ? "Courier New" : name;
    long long size = text::toIntDef(store.readValue(kS, "Schriftgroesse"), 12);
    f.size = size >= 2 && size <= 256 ? static_cast<int>(size) : 12;
    std::string style = store.readValue(kS, "Schriftart");
    auto on = [&](size_t i) { return i < style.size() && style[i] == '1'; };
    f.bold = on(0);
    f.italic = on(1);
    f.underline = on(2);
    f.strikeOut = on(3);
    return f;
}

std::string encodeFontStyle(const FontSpec& font) {
    std::string s;
    for (bool b : {font.bold, font.italic, font.underline, font.strikeOut}) s.push_back(b ? '1' : '0');
    return s;
}

void writeEditorFont(SettingsStore& store, const FontSpec& font) {
    store.writeValue(kS, "Schrift", font.name);
    store.writeValue(kS, "Schriftgroesse", std::to_string(font.size));
    store.writeValue(kS, "Schriftart", encodeFontStyle(font));
}

void writeStandardEditorFont(SettingsStore& store) {
    store.writeValue(kS, "Schrift", "Courier New");
    store.writeValue(kS, "Schriftgroesse", "10");
    store.writeValue(kS, "Schriftart", "0000");
}

int toneDurationMs(const SettingsStore& store) {
    long long ms = text::toIntDef(store.readValue(kS, "Tondauer"), 100);
    return ms >= 0 && ms <= 100000 ? static_cast<int>(ms) : 100;
}

int toneVolume(const SettingsStore& store) {
    long long v = text::toIntDef(store.readValue(kS, "Tonstaerke"), 100);
    return static_cast<int>(std::clamp<long long>(v, 0, 100));
}

}  // namespace pictra

#include <filesystem>

namespace pictra {

std::optional<std::string> chooseReachableFolder(Dialogs& dialogs, const std::string& title,
                                                 const std::string& start) {
    auto folder = dialogs.chooseFolder(title, start);
    if (!folder) return std::nullopt;
    std::error_code ec;
    std::filesystem::directory_iterator probe(*folder, ec);
    if (ec) {
        dialogs.inform(kMsgFolderUnreachable);
        return std::nullopt;
    }
    return folder;
}

}  // namespace pictra
