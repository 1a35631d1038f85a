#include "FullPreview.h"

#include <algorithm>
#include <functional>
#include <system_error>

#include "common/CaseFold.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "html/preview/PlainTextPage.h"

namespace pictra::preview {

namespace fs = std::filesystem;

Browser& currentOrNew(BrowserList& list) {
    if (Browser* current = list.current()) return *current;
    return list.create();
}

Browser* findShowing(BrowserList& list, const std::string& target) {
    const std::string ext = pathnames::extensionOf(target);
    const std::string asHtml = target.substr(0, target.size() - ext.size()) + ".html";
    for (Browser* browser : list.browsers()) {
        const std::string address = browser->address();
        if (casefold::equalUtf8(address, target) || casefold::equalUtf8(address, asHtml)) return browser;
    }
    return nullptr;
}

namespace {

// The first `count` lines as text::splitLines gives them, without splitting a long
// document whole: F9 looks only at its head.
std::vector<std::string> leadingLines(const std::string& text, size_t count) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size() && lines.size() < count; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (lines.size() < count && start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

bool isBlank(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= 32; });
}

}  // namespace

bool escapeShowsPage(const std::string& text) {
    const auto lines = leadingLines(text, 2);
    if (lines.size() < 2) return false;
    return casefold::containsUtf8(lines[0] + "\n" + lines[1], "<html");
}

bool isSvgDocument(const std::string& text) {
    const auto lines = leadingLines(text, 6);
    if (lines.size() <= 5) return false;
    for (size_t i = 1; i <= 4; ++i) {
        if (lines[i].find("<svg") != std::string::npos) return true;
    }
    return false;
}

bool isUntitled(const std::string& fileName) {
    return fileName.empty() || fileName.find('?') != std::string::npos || pathnames::extensionOf(fileName).empty();
}

namespace {

bool isExecutableFile(const std::string& path) {
    std::error_code error;
    const auto status = fs::status(path, error);
    if (error || !fs::is_regular_file(status)) return false;
    const auto exec = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    return (status.permissions() & exec) != fs::perms::none;
}

std::string withSlash(const std::string& folder) { return text::endsWith(folder, "/") ? folder : folder + "/"; }

}  // namespace

std::string findProgram(const std::string& program, const std::string& searchPath) {
    if (program.empty()) return {};
    if (program.find('/') != std::string::npos) return isExecutableFile(program) ? program : std::string();
    size_t start = 0;
    while (start <= searchPath.size()) {
        size_t end = searchPath.find(':', start);
        if (end == std::string::npos) end = searchPath.size();
        const std::string folder = searchPath.substr(start, end - start);
        if (!folder.empty() && isExecutableFile(withSlash(folder) + program)) return withSlash(folder) + program;
        start = end + 1;
    }
    return {};
}

std::string outsideBrowser(SettingsStore& store, Dialogs& dialogs, const std::string& searchPath) {
    const std::string configured = store.readValue("Browser", "Chrome");
    if (!configured.empty()) {
        if (std::string found = findProgram(configured, searchPath); !found.empty()) return found;
    } else {
        for (const char* name : {"chromium", "firefox-esr", "xdg-open"}) {
            if (std::string found = findProgram(name, searchPath); !found.empty()) return found;
        }
    }
    dialogs.inform(kMsgFindBrowser);
    const auto chosen = dialogs.chooseOpenFile("Browser", pathnames::folderOf(configured));
    if (!chosen || chosen->empty()) return {};
    store.writeValue("Browser", "Chrome", *chosen);
    return *chosen;
}

fs::file_time_type FullPreview::timeOf(const std::string& path) const {
    std::error_code error;
    const auto time = fs::last_write_time(path, error);
    return error ? fs::file_time_type::min() : time;
}

Browser& FullPreview::browserFor(const std::string& target) {
    if (Browser* showing = findShowing(m_browsers, target)) {
        m_browsers.makeCurrent(*showing);
        return *showing;
    }
    // A window that shows nothing yet (opened with F12) takes the page rather than standing empty beside it.
    Browser* current = m_browsers.current();
    if (current && current->address().empty()) return *current;
    return m_browsers.create();
}

bool FullPreview::writePage(const std::string& path, const std::string& bytes) {
    if (m_files.write(path, bytes)) return true;
    m_dialogs.inform("Die Vorschau \"" + path + "\" konnte nicht geschrieben werden.");
    return false;
}

void FullPreview::run(bool byEscape) {
    const DocumentState doc = m_host.document();
    if (isSvgDocument(doc.text)) {
        showOutside();
        return;
    }
    if (hasIncludes(doc.text)) {
        showWithIncludes(doc);
        return;
    }
    if (pathnames::lowerExtension(doc.fileName) == ".css") {
        showCss();
        return;
    }
    const bool untitled = isUntitled(doc.fileName);
    const std::string target = untitled ? m_host.temporaryPreviewName() : doc.fileName;
    m_lastShown = target;
    if (m_host.searchPanelVisible()) {
        m_host.hideSearchPanel();
        if (byEscape) return;
    }
    Browser& browser = browserFor(target);
    if (isBlank(doc.text)) {
        browser.blank();
        browser.setAddress("");
        browser.present();
        browser.focusAddress();
        return;
    }
    const auto textHash = [&doc] { return std::hash<std::string>{}(doc.text); };
    const auto known = m_shown.find(target);
    if (!doc.modified && casefold::equalUtf8(browser.address(), target) && known != m_shown.end() &&
        known->second.time == timeOf(target) && known->second.textHash == textHash()) {
        browser.present();
        return;
    }
    std::string shownFile = target;
    if (!untitled) {
        const bool onDisk = fs::exists(target);
        if ((doc.modified || !onDisk) && !m_host.saveDocument()) {
            // A folder without write permission: the page is still shown, from a copy.
            shownFile = m_host.temporaryPreviewName();
            if (!writePage(shownFile, doc.text)) return;
            m_dialogs.inform("Die Datei konnte nicht gespeichert werden. Die Vorschau zeigt eine Kopie im "
                             "temporären Ordner:\r" +
                             shownFile);
        }
    } else {
        std::string page = doc.text;
        if (!isHtmlText(page)) {
            long long size = 14;
            if (!m_dialogs.askNumber("Schriftgröße", "Geben Sie die Schriftgröße ein", size)) return;
            page = plainTextPage(doc.text, size, m_entities);
        }
        if (!writePage(target, page)) return;
    }
    browser.navigate(shownFile);
    browser.setAddress(target);
    browser.present();
    // Taken while the page loads: only the next F9 compares it.
    m_shown[target] = {textHash(), timeOf(target)};
}

void FullPreview::showOutside() {
    const std::string program = outsideBrowser(m_store, m_dialogs, m_searchPath);
    if (program.empty()) return;
    m_host.saveDocument();
    const std::string file = m_host.document().fileName;
    if (isUntitled(file) || !m_host.startProgram(program, {file})) m_dialogs.inform(kMsgNoSuccess);
}

void FullPreview::showWithIncludes(const DocumentState& doc) {
    const bool untitled = isUntitled(doc.fileName);
    const std::string folder = withSlash(pathnames::folderOf(untitled ? m_host.temporaryPreviewName() : doc.fileName));
    const std::string page = expandIncludes(doc.text, folder, m_dialogs);
    std::string shownFile = folder + "tmp.html";
    if (!m_files.write(shownFile, page)) {
        shownFile = m_host.temporaryPreviewName();
        if (!writePage(shownFile, page)) return;
        m_dialogs.inform("Die Vorschau steht im temporären Ordner:\r" + shownFile);
    }
    const std::string address = untitled ? shownFile : doc.fileName;
    m_lastShown = address;
    Browser& browser = browserFor(address);
    browser.navigate(shownFile);
    browser.setAddress(address);
    browser.present();
    if (!untitled) m_host.saveDocument();
    m_shown.erase(address);
}

void FullPreview::showCss() {
    m_host.saveDocument();
    if (m_lastShown.empty()) {
        m_host.showNotice(kMsgCssNotShown);
        if (m_host.switchToPreviousHtmlTab()) run(false);
        return;
    }
    Browser& browser = browserFor(m_lastShown);
    if (!casefold::equalUtf8(browser.address(), m_lastShown) || !browser.reload()) {
        browser.navigate(m_lastShown);
        browser.setAddress(m_lastShown);
    }
    browser.present();
}

void FullPreview::showBrowsers() {
    Browser& current = currentOrNew(m_browsers);
    for (Browser* browser : m_browsers.browsers()) {
        if (browser != &current) browser->present();
    }
    current.present();
}

void FullPreview::showAndReload() {
    showBrowsers();
    Browser* current = m_browsers.current();
    if (current && current->reload()) return;
    m_host.saveDocument();
    m_shown.clear();
    run(false);
}

}  // namespace pictra::preview
