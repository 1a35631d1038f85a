#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "html/Entities.h"
#include "explorer/CopyChecked.h"
#include "shell/EditorView.h"
#include "settings/ProgramPaths.h"
#include "settings/SettingsStore.h"
#include "tools/Tones.h"

namespace pictra {

// What loading and saving need of the main window's document list.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;

    virtual int documentCount() = 0;
    virtual int currentIndex() = 0;
    virtual int findOpen(const std::string& path) = 0;
    virtual void switchTo(int index) = 0;
    virtual void newDocument() = 0;
    virtual EditorView& editor(int index) = 0;
    // True when the document's text is empty after trimming.
    virtual bool isEmpty(int index) = 0;
    // Puts a file's text into the editor (Windows-1252, CR LF) and the caret at `caret`.
    virtual void loadText(int index, const std::string& text, int caret) = 0;
    // Characters of the text that Windows-1252 cannot hold (UTF-8; empty when none).
    virtual std::string unstorableCharacters(int index) = 0;

    virtual std::string fileName(int index) = 0;
    virtual void setFileName(int index, const std::string& path) = 0;
    virtual std::string tabCaption(int index) = 0;
    virtual void setTabCaption(int index, const std::string& caption) = 0;
    virtual void refreshCaption() = 0;
    virtual void setSaveSnapshot(int index, const std::string& snapshot) = 0;
    virtual std::string saveSnapshot(int index) = 0;
    virtual std::string firstEditSnapshot(int index) = 0;
    virtual void removeDocument(int index) = 0;
    virtual void removeAllDocuments() = 0;

    virtual void showStatus(const std::string& text) = 0;
    virtual void showNotice(const std::string& text) = 0;
    virtual void openSettings(int group) = 0;
    // "Umlaute HTML-konform (mathematischer Text)" switched on, with its message.
    virtual void switchMathModeOn() = 0;
    // The recent-files list; a later part of the program keeps it.
    virtual void recordFile(const std::string& path) = 0;
    virtual bool sameVolume(const std::string& a, const std::string& b) = 0;
    virtual int currentHour() = 0;
};

// Reading text files into documents and writing documents back, with the
// checks, backups and messages of the "Datei" menu.
class DocumentFiles {
public:
    DocumentFiles(DocumentHost& host, Dialogs& dialogs, SettingsStore& store, const ProgramPaths& paths,
                  EntityTable& entities, Tones& tones)
        : m_host(host), m_dialogs(dialogs), m_store(store), m_paths(paths), m_entities(entities), m_tones(tones) {}

    bool loadFile(const std::string& path);
    // Writes document `index` to `path`; false (and the document unchanged) on failure.
    bool saveDocument(int index, const std::string& path);
    bool confirmClose(int index);

    // The name a print job carries; an unnamed document gets a numbered name.
    std::string saveTargetOfCurrent();
    std::string hourFileName();
    std::string previewFileName();
    std::string temporaryName(const std::string& suffix);
    void informOnce(const std::string& text);

    // Menu commands.
    void save();
    bool saveAs();
    void saveAsIn(const std::string& folder);
    void saveCopy();
    void saveAll();
    void closeCurrent();
    void saveAndClose();
    void closeAll();
    void openClassic();
    void showBeforeSave();
    void showOldBeforeSave();
    void showOldBeforeSession();
    void renameWithPrefix();
    void deleteCurrentToBin();
    void saveToStick(const std::string& stickFolder);
    void showCharacterCodes();
    std::vector<std::string> markLoadedFiles();

    int currentMacro() const { return m_currentMacro; }
    void setCurrentMacro(int macro) { m_currentMacro = macro; }
    const std::vector<std::string>& beforeSaveText() const { return m_beforeSaveText; }
    // The one overwrite answer of the run, shared with the explorer's copies.
    CopySession& copySession() { return m_copies; }

private:
    bool checkZeroBytes(const std::string& path);
    int targetDocumentFor(const std::string& path, bool& stop);
    bool writeLines(int index, const std::string& path, const std::vector<std::string>& lines,
                    const std::string& backup);
    std::optional<std::string> copyBeforeSave(const std::string& path);
    std::string unnamedSaveTarget(int index);
    void copyToSecondDrive(const std::string& path);
    bool isExcludedFromCopies(const std::string& path);
    CopyContext copyContext();
    bool saveUnder(int index, const std::string& path);

    DocumentHost& m_host;
    Dialogs& m_dialogs;
    SettingsStore& m_store;
    const ProgramPaths& m_paths;
    EntityTable& m_entities;
    Tones& m_tones;
    CopySession m_copies;
    std::vector<std::string> m_beforeSaveText;
    std::set<std::string> m_informed;
    std::string m_renamePrefix;
    bool m_renamePrefixAsked = false;
    int m_currentMacro = 0;
    bool m_lastSaveFullDisk = false;
};

}  // namespace pictra
