#include "DocumentFiles.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>

#include "common/Codec.h"
#include "common/FileIo.h"
#include "common/Text.h"
#include "common/TextFiles.h"
#include "explorer/BinBackup.h"
#include "explorer/RecycleBin.h"
#include "explorer/fileops/Rename.h"
#include "shell/Documents.h"
#include "shell/FileRules.h"
#include "shell/FileSets.h"

namespace fs = std::filesystem;

namespace pictra {

namespace {

constexpr const char* kMsgMissing = "Datei nicht (mehr) vorhanden!";
constexpr const char* kMsgPicture = "Bilddateien können nicht als Textdateien eingelesen werden.";
constexpr const char* kAskNoText = "Keine Textdatei. Trotzdem einlesen?";
constexpr const char* kAskReload = "Datei schon eingelesen. Überschreiben?";
constexpr const char* kMsgNonText =
    "Keine Textdatei. Um versehenliches Überschreiben zu verhindern, wird das letzte Zeichen des Namens zu "
    "\"~\".\r\rDas Einlesen der Datei wurde abgebrochen.\rMit Menü \"Dateienexplorer|Extras|Textvorschau\" erhalten "
    "Sie mehr Einblick.";
constexpr const char* kAskDos =
    "Datei ist DOS-Datei. Die Umlaute werden nicht richtig dargestellt. Soll die Datei entsprechend umgewandelt werden?";
constexpr const char* kMsgCannotSave =
    "Kann nicht speichern!\rSchreibgeschützt?\rCD-Laufwerk?\rvon Word oder anderem Programm geöffnet?";
constexpr const char* kMsgSameDrive = "Datei wird nicht auf zweitem Laufwerk gesichert, da beide identisch";

bin::Date today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

bool isNamed(const std::string& fileName) { return fileName.find('?') == std::string::npos; }

std::string utf8(const std::string& cp1252) { return codec::cp1252ToUtf8(cp1252); }

std::string cannotLoadMessage(const std::string& path) {
    return "Datei \"" + path + "\"kann nicht geladen werden.\rMögliche Ursache: Gelöscht oder bereits von einem "
           "anderen Programm eingelesen.";
}

}  // namespace

std::string DocumentFiles::temporaryName(const std::string& suffix) {
    return filerules::temporaryName(m_store, m_paths, suffix);
}

std::string DocumentFiles::hourFileName() { return filerules::hourFileName(m_store, m_paths, m_host.currentHour()); }

std::string DocumentFiles::previewFileName() {
    const std::string name = m_host.documentCount() > 0 ? m_host.fileName(m_host.currentIndex()) : std::string();
    return filerules::previewFileName(m_store, m_paths, name, m_host.currentHour());
}

std::string DocumentFiles::saveTargetOfCurrent() {
    const int index = m_host.currentIndex();
    const std::string name = m_host.fileName(index);
    if (isNamed(name)) return name;
    std::string digits;
    for (char c : m_store.readValue("Einstellungen", "Nr.:")) {
        if (c >= '0' && c <= '9') digits += c;
    }
    long long number = text::toIntDef(digits, 1);
    if (m_dialogs.askNumber("Datei Nr. (statt Pfad)", "Speichern als Datei-Nr.:", number)) {
        m_store.writeValue("Einstellungen", "Nr.:", std::to_string(number));
        const std::string path = m_paths.programFileName(std::to_string(number));
        m_host.setFileName(index, path);
        return path;
    }
    const std::string hour = hourFileName();
    informOnce("Vorübergehend gespeichert unter:" + hour +
               "\r\rDieser Hinweis erscheint, da die Datei noch nicht endgültig abgespeichert wurde.");
    return hour;
}

void DocumentFiles::informOnce(const std::string& text) {
    if (!m_informed.insert(text).second) return;
    m_dialogs.inform(text + "\r(Diese Meldung erscheint nur einmal pro Sitzung)");
}

bool DocumentFiles::checkZeroBytes(const std::string& path) {
    std::string head;
    if (auto bytes = fileio::readFile(path)) head = bytes->substr(0, 1024);
    const bool opened = fs::is_regular_file(path);
    if (opened && head.find('\0') == std::string::npos) return true;
    if (filerules::hasPictureExtension(path)) {
        m_dialogs.inform(kMsgPicture);
        return false;
    }
    return m_dialogs.ask(kAskNoText) == Answer::Yes;
}

// The document a file goes into: a new one, the current empty one, or the one
// that already holds it. `stop` is set when the user cancelled.
int DocumentFiles::targetDocumentFor(const std::string& path, bool& stop) {
    stop = false;
    const int open = m_host.findOpen(path);
    if (open < 0) {
        if (!m_host.isEmpty(m_host.currentIndex())) m_host.newDocument();
        return m_host.currentIndex();
    }
    m_host.switchTo(open);
    Answer answer;
    {
        CancelModeScope scope(m_dialogs);
        answer = m_dialogs.ask(kAskReload);
    }
    if (answer == Answer::Cancel) {
        stop = true;
        return -1;
    }
    if (answer == Answer::No && !m_host.isEmpty(open)) m_host.newDocument();
    return m_host.currentIndex();
}

bool DocumentFiles::loadFile(const std::string& rawPath) {
    const std::string path = text::trim(rawPath);
    std::error_code ec;
    if (path.empty() || !fs::exists(path, ec)) {
        m_dialogs.inform(kMsgMissing);
        return false;
    }
    if (!fs::is_regular_file(path, ec)) {
        // A FIFO, device or socket: reading it could wait for ever.
        m_dialogs.inform(cannotLoadMessage(path));
        return false;
    }
    if (!checkZeroBytes(path)) return false;
    bool stop = false;
    const int index = targetDocumentFor(path, stop);
    if (stop) return false;
    filerules::LoadedText loaded;
    {
        // The file's bytes go as soon as the text is taken from them.
        const auto bytes = fileio::readFile(path);
        if (!bytes) {
            m_dialogs.inform(cannotLoadMessage(path));
            return false;
        }
        loaded = filerules::loadedText(*bytes);
    }
    const int caret = loaded.caret.value_or(0);
    std::string& textValue = loaded.text;

    std::string name = path;
    const std::string codes = filerules::controlCodes(textValue);
    if (!codes.empty()) m_store.writeValue("Keine ASCII-Datei", "Erste nicht ASCII-Zeichen ", codes);
    if (filerules::isNonTextExtension(path) || !codes.empty()) {
        m_dialogs.inform(kMsgNonText);
        name.back() = '~';
    }
    if (textValue.find('\x07') != std::string::npos && m_dialogs.ask(kAskDos) == Answer::Yes) {
        textValue = codec::cp850ToCp1252(textValue);
    }
    m_host.loadText(index, textValue, caret);
    m_host.setFileName(index, name);
    m_host.setTabCaption(index, documents::fileNamePart(name));
    m_host.refreshCaption();
    filesets::recordFile(m_store, name);
    m_host.recordFile(name);
    if (textValue.find(kMathMarker) != std::string::npos) m_host.switchMathModeOn();
    return true;
}

bool DocumentFiles::isExcludedFromCopies(const std::string& path) {
    if (path == hourFileName() || path == previewFileName()) return true;
    for (int i = 1; i < m_host.documentCount(); ++i) {
        if (path == unnamedSaveTarget(i)) return true;
    }
    return false;
}

// Each unnamed document gets its own hour file, so that saving several never
// writes two texts into one file; the first keeps the plain hour name.
std::string DocumentFiles::unnamedSaveTarget(int index) {
    const std::string hour = hourFileName();
    if (index == 0) return hour;
    const std::string ext = filerules::extensionOf(hour);
    return hour.substr(0, hour.size() - ext.size()) + "_" + std::to_string(index) + ext;
}

CopyContext DocumentFiles::copyContext() {
    return CopyContext{m_dialogs, m_copies, m_store.readValue("Einstellungen", "OrdnerfuerSicherungZweiterTraeger"),
                       m_paths.binFolder(),
                       [this](const std::string& a, const std::string& b) { return m_host.sameVolume(a, b); }};
}

// The day backup: the file as it is before this save, once a day per size, in the bin.
// Returns the backup's path when a complete one exists (a backup cut off by a
// crash does not count and is written again), an empty string when there is no
// file to keep, and nullopt (after saying so) when the file exists but could not
// be kept: then it must not be overwritten.
std::optional<std::string> DocumentFiles::copyBeforeSave(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::string();  // nothing to keep; a folder fails the write
    auto present = fileio::readFile(path);
    m_beforeSaveText = present ? text::splitLines(*present) : std::vector<std::string>();
    const auto size = present ? std::optional<std::uintmax_t>(present->size()) : std::nullopt;
    const std::string backup = m_paths.binFolder() + "/" + bin::binName(path, today(), size);
    const auto complete = [&] { return size && fs::is_regular_file(backup, ec) && fs::file_size(backup, ec) == *size; };
    if (complete()) return backup;
    CopyContext context = copyContext();
    const CopyOutcome outcome = copyChecked(path, backup, context);
    if (outcome.written && complete()) {
        m_tones.tone(kHighSignal);
        return backup;
    }
    CopyOutcome failure = outcome;
    if (failure.message.empty()) failure.message = "Abbruch";  // the cancel window was clicked
    m_lastSaveFullDisk = fileio::isDiskFull(failure.error);
    m_dialogs.inform(binbackup::notKeptMessage(path, m_paths.binFolder(), failure));
    return std::nullopt;
}

void DocumentFiles::copyToSecondDrive(const std::string& path) {
    if (m_store.readValue("Einstellungen", "SicherungAuZweitesTraeger") != "Ja") return;
    std::string folder = m_store.readValue("Einstellungen", "OrdnerfuerSicherungZweiterTraeger");
    if (folder.empty()) {
        m_host.openSettings(3);
        return;
    }
    if (m_host.sameVolume(folder, path)) {
        m_dialogs.inform(kMsgSameDrive);
        m_host.openSettings(3);
        return;
    }
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    const std::string target = folder + path;
    auto& copied = m_copies.copiedToSecondDrive;
    if (std::find(copied.begin(), copied.end(), target) != copied.end()) return;
    copied.push_back(target);
    CopyContext context = copyContext();
    if (copyWithRules(path, target, context)) m_tones.tone(kCompletionTone);
}

// The in-place path (a folder without write access) is taken only with a
// complete backup of the old text, which a failure then names; while it runs, a
// record in the program folder lets the next start find a file cut off by a crash.
bool DocumentFiles::writeLines(int index, const std::string& path, const std::vector<std::string>& lines,
                               const std::string& backup) {
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    const std::string present = fileio::readFile(path).value_or(std::string());
    std::string bytes;
    for (const auto& line : lines) bytes.append(line).append("\r\n");
    int error = 0;
    const fileio::WriteResult result = backup.empty()
                                           ? fileio::writeFile(path, bytes, false, &error)
                                           : fileio::writeFile(path, bytes, fileio::InPlaceJournal{m_paths.folder, backup}, &error);
    switch (result) {
        case fileio::WriteResult::Written: break;
        case fileio::WriteResult::Untouched:
            m_lastSaveFullDisk = fileio::isDiskFull(error);
            // A full volume is no write protection: the user is told which volume it is.
            m_dialogs.inform(m_lastSaveFullDisk ? "Kann \"" + path + "\" nicht speichern!\r" + fullVolumeText(path)
                                                : std::string(kMsgCannotSave));
            return false;
        case fileio::WriteResult::Damaged:
            m_dialogs.inform(std::string(kMsgCannotSave) + "\r\rDie Datei ist unvollständig. Der alte Text liegt in \"" +
                             backup + "\".");
            return false;
    }
    m_host.setSaveSnapshot(index, utf8(present) + "\r\n" + m_host.fileName(index));
    return true;
}

bool DocumentFiles::saveDocument(int index, const std::string& requestedPath) {
    std::string path = requestedPath;
    EditorView& view = m_host.editor(index);
    std::vector<std::string> lines = view.lines();
    const std::string whole = text::joinLines(lines);
    const bool html = filerules::isHtml(whole);
    const std::string unstorable = html ? std::string() : m_host.unstorableCharacters(index);
    if (!unstorable.empty() && m_dialogs.ask(textfiles::unstorableQuestion(unstorable)) != Answer::Yes) return false;

    // The hour and preview files get neither a day backup nor a second copy.
    m_lastSaveFullDisk = false;
    const bool excluded = isExcludedFromCopies(path);
    std::string backup;
    if (!excluded) {
        const auto kept = copyBeforeSave(path);
        if (!kept) return false;
        backup = *kept;
    }
    m_tones.tone(html ? kHighSignal : kCompletionTone);
    if (html) {
        const std::string renamed = filerules::htmlPath(path);
        if (renamed != path) {
            path = renamed;
            backup.clear();  // it holds the other file
            m_host.setFileName(index, path);
        }
        for (auto& line : lines) line = m_entities.encode(line);
    }
    if (!writeLines(index, path, filerules::linesToSave(std::move(lines), view.caret()), backup)) return false;
    m_host.showStatus(path + " (geändert!) gespeichert.");
    if (!excluded) copyToSecondDrive(path);
    filesets::recordFile(m_store, path);
    m_host.recordFile(path);
    return true;
}

bool DocumentFiles::confirmClose(int index) {
    const std::string name = m_host.fileName(index);
    if (!documents::captionShowsModified(m_host.tabCaption(index))) return true;
    if (text::toLowerAscii(name).find("tmp.html") != std::string::npos) return true;
    const bool named = isNamed(name);
    Answer answer;
    {
        CancelModeScope scope(m_dialogs);
        answer = m_dialogs.ask("Datei \"" + name + "\"" + (named ? " unter altem Namen " : "") + " sichern?");
    }
    if (answer == Answer::Cancel) return false;
    if (answer == Answer::No) return true;
    if (named) {
        if (!saveDocument(index, name)) return false;
        m_host.setTabCaption(index, documents::fileNamePart(name));
        return true;
    }
    auto chosen = m_dialogs.chooseSaveFile("Speichern unter", name);
    if (!chosen || !saveDocument(index, *chosen)) return false;
    m_host.setFileName(index, *chosen);
    m_host.setTabCaption(index, *chosen);
    return true;
}

bool DocumentFiles::saveUnder(int index, const std::string& path) {
    if (!saveDocument(index, path)) return false;
    const std::string name = filerules::isHtml(wholeText(m_host.editor(index))) ? filerules::htmlPath(path) : path;
    m_host.setFileName(index, name);
    m_host.setTabCaption(index, documents::fileNamePart(name));
    m_host.refreshCaption();
    return true;
}

void DocumentFiles::save() {
    const int index = m_host.currentIndex();
    const std::string name = m_host.fileName(index);
    if (!isNamed(name)) {
        saveAs();
        return;
    }
    if (!saveDocument(index, name)) return;
    m_host.setTabCaption(index, documents::fileNamePart(m_host.fileName(index)));
    m_store.writeValue("Hauptmenu", "Aktuellea Makro" + std::to_string(m_currentMacro), std::to_string(index));
}

bool DocumentFiles::saveAs() {
    const int index = m_host.currentIndex();
    const std::string name = m_host.fileName(index);
    std::string proposal;
    if (isNamed(name)) {
        proposal = name;
    } else if (m_host.documentCount() > 1) {
        proposal = text::replaceAll(filerules::folderOf(name), "?", "x");
    }
    auto chosen = m_dialogs.chooseSaveFile("Speichern unter", proposal);
    return chosen && saveUnder(index, *chosen);
}

void DocumentFiles::saveAsIn(const std::string& folder) {
    const int index = m_host.currentIndex();
    const std::string name = m_host.fileName(index);
    std::string proposal = folder;
    if (!proposal.empty() && proposal.back() != '/') proposal += '/';
    if (isNamed(name)) proposal += documents::fileNamePart(name);
    if (auto chosen = m_dialogs.chooseSaveFile("Speichern unter", proposal)) saveUnder(index, *chosen);
}

void DocumentFiles::saveCopy() {
    const int index = m_host.currentIndex();
    const std::string old = m_host.fileName(index);
    const std::string ext = filerules::extensionOf(old);
    const std::string part = documents::fileNamePart(old);
    const std::string proposal =
        filerules::folderOf(old) + part.substr(0, part.size() - ext.size()) + "_" + ext;
    auto chosen = m_dialogs.chooseSaveFile("Kopie speichern", proposal);
    if (!chosen || !saveDocument(index, *chosen)) return;
    if (text::toLowerAscii(*chosen) == text::toLowerAscii(old)) {
        m_dialogs.inform("Keine Kopie! Unter altem Namen \"" + old + "\" gespeichert");
    } else {
        m_dialogs.inform("Gespeichert unter \"" + *chosen + "\". Der alte Namen \"" + old + "\" wird beibehalten.");
    }
}

void DocumentFiles::saveAll() {
    m_lastSaveFullDisk = false;
    // A full volume has been named once; the other documents would only repeat it.
    for (int i = 0; i < m_host.documentCount() && !m_lastSaveFullDisk; ++i) {
        if (!documents::captionShowsModified(m_host.tabCaption(i))) continue;
        const std::string name = m_host.fileName(i);
        if (isNamed(name)) {
            if (saveDocument(i, name)) m_host.setTabCaption(i, documents::fileNamePart(m_host.fileName(i)));
            continue;
        }
        const std::string hour = unnamedSaveTarget(i);
        if (!saveDocument(i, hour)) continue;
        m_host.setTabCaption(i, documents::fileNamePart(name));
        informOnce("Vorübergehend gespeichert unter:" + hour +
                   "\r\rDieser Hinweis erscheint, da die Datei noch nicht endgültig abgespeichert wurde.");
    }
}

void DocumentFiles::closeCurrent() {
    const int index = m_host.currentIndex();
    if (confirmClose(index)) m_host.removeDocument(index);
}

void DocumentFiles::saveAndClose() {
    if (documents::captionShowsModified(m_host.tabCaption(m_host.currentIndex()))) save();
    closeCurrent();
}

void DocumentFiles::closeAll() {
    for (int i = 0; i < m_host.documentCount(); ++i) {
        if (!confirmClose(i)) return;
    }
    m_host.removeAllDocuments();
}

void DocumentFiles::openClassic() {
    const std::string name = m_host.fileName(m_host.currentIndex());
    if (auto chosen = m_dialogs.chooseOpenFile("Öffnen", isNamed(name) ? name : std::string())) loadFile(*chosen);
}

void DocumentFiles::showBeforeSave() {
    m_dialogs.showText("So sah die Datei vor dem Speichern aus", utf8(text::joinLines(m_beforeSaveText)));
}

void DocumentFiles::showOldBeforeSave() {
    const std::string snapshot = m_host.saveSnapshot(m_host.currentIndex());
    if (snapshot.empty()) {
        m_dialogs.inform("Mit diesem Programm wird die Datei vor dem letzten Speichen wiederhergestellt.\rDie Datei, "
                         "die im Moment bearbeitet wird, hat sich aber noch nicht geändert.");
        return;
    }
    m_dialogs.showText("Stand der Datei vor dem letzten Speichern", snapshot);
}

void DocumentFiles::showOldBeforeSession() {
    const int index = m_host.currentIndex();
    const std::string snapshot = m_host.firstEditSnapshot(index);
    if (snapshot.empty()) {
        m_dialogs.inform("Mit diesem Programm wird die letzte eingelesene Datei wiederhergestellt.\rDie Datei, die im "
                         "Moment bearbeitet wird, hat sich aber noch nicht geändert.");
        return;
    }
    if (!m_host.isEmpty(index)) m_dialogs.showText("Stand der Datei vor dieser Sitzung", snapshot);
}

void DocumentFiles::renameWithPrefix() {
    save();
    const int index = m_host.currentIndex();
    const std::string name = m_host.fileName(index);
    if (!isNamed(name)) return;
    if (!m_renamePrefixAsked) {
        auto prefix = m_dialogs.askText("Wird nur einmal pro Sitzung abgefragt",
                                        "Welche Zeichenfolge soll dem Dateinamen vorangestellt werden?", "zz");
        if (!prefix) return;
        m_renamePrefix = *prefix;
        m_renamePrefixAsked = true;
    }
    const std::string part = m_renamePrefix + documents::fileNamePart(name);
    const std::string renamed = filerules::folderOf(name) + part;
    // An existing file of that name is never replaced.
    if (!fileops::renameNoReplace(name, renamed).ok()) {
        m_dialogs.inform("Datei konnte nicht umbenannt werden.\rDateiname vielleicht schon vergeben?");
        return;
    }
    m_host.setFileName(index, renamed);
    m_host.setTabCaption(index, part);
    m_host.refreshCaption();
}

void DocumentFiles::deleteCurrentToBin() {
    const int index = m_host.currentIndex();
    const std::string path = m_host.fileName(index);
    if (m_dialogs.ask("Wirklich die Datei \"" + path + "\" löschen?") != Answer::Yes) return;
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    const std::string binFile = m_paths.binFolder() + "/" + bin::binName(path, today(), ec ? std::nullopt : std::optional(size));
    CopyContext context = copyContext();
    // Nothing is deleted before its copy exists.
    if (fs::is_regular_file(path, ec) && copyWithRules(path, binFile, context) && fs::exists(binFile, ec)) {
        fs::remove(path, ec);
    }
    if (fs::exists(path, ec)) {
        m_dialogs.inform("\"" + path + "\" nicht gelöscht.");
        return;
    }
    const std::string renamed = path + "_suche_im_Papierkorb";
    m_host.setFileName(index, renamed);
    m_host.setTabCaption(index, documents::fileNamePart(renamed));
    m_host.refreshCaption();
    m_dialogs.inform("\"" + path + "\" wurde in den Papierkorb verschoben. Name wurde geändert.");
}

void DocumentFiles::saveToStick(const std::string& stickFolder) {
    const int index = m_host.currentIndex();
    const std::string name = m_host.fileName(index);
    if (!isNamed(name)) {
        saveAs();
        return;
    }
    std::string folder = stickFolder;
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    auto target = m_dialogs.askText("Laufwerk", "Ändern Sie - falls notwendig - noch das Laufwerk", folder + name);
    if (!target) return;
    std::error_code ec;
    fs::create_directories(fs::path(*target).parent_path(), ec);
    std::string bytes;
    for (const auto& line : m_host.editor(index).lines()) bytes.append(line).append("\r\n");
    if (!fileio::writeFileAtomic(*target, bytes)) {
        m_dialogs.inform("Kann nicht speichern");
        return;
    }
    m_tones.completionTone();
}

void DocumentFiles::showCharacterCodes() {
    const auto lines = m_host.editor(m_host.currentIndex()).lines();
    std::string out;
    for (size_t i = 0; i < lines.size() && i < 200; ++i) {
        for (char c : lines[i]) {
            out += utf8(std::string(1, c)) + "=" + std::to_string(static_cast<unsigned char>(c)) + " ";
        }
        out += "\r\n";
    }
    m_dialogs.showText("ASCIII-Code", out);
}

std::vector<std::string> DocumentFiles::markLoadedFiles() {
    saveAll();
    std::vector<std::string> marked;
    for (int i = 0; i < m_host.documentCount(); ++i) {
        const std::string name = m_host.fileName(i);
        if (isNamed(name)) {
            marked.push_back(name);
        } else {
            m_dialogs.inform("Datei Nr." + std::to_string(i) + " ist noch nicht (unter richtigem Namen) abgespeichert.\r"
                             "Sie kann nicht vorgemerkt werden.");
        }
    }
    m_dialogs.inform("Die folgenden Dateien können Sie nun in einen beliebigen Ordner kopieren:\r" +
                     text::joinLines(marked, "\r"));
    return marked;
}

}  // namespace pictra
