// Films and office documents opened from the explorer's file list.
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "common/Dialogs.h"
#include "explorer/ExplorerWindow.h"
#include "films/FilmWindow.h"
#include "platform/Processes.h"
#include "settings/SettingsStore.h"

namespace pictra::ui {

namespace {

constexpr const char* kOfficeKey = "Officeprogramm";

}  // namespace

// The office program set up in the settings; without one, LibreOffice when it is installed.
std::string ExplorerWindow::officeProgram() const {
    const std::string stored = m_shared.store.readValue("Einstellungen", kOfficeKey);
    if (!stored.empty()) {
        const QFileInfo info(QFile::decodeName(QByteArray::fromStdString(stored)));
        return info.isFile() && info.isExecutable() ? stored : std::string();
    }
    for (const char* name : {"libreoffice", "soffice"}) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty()) return QFile::encodeName(found).toStdString();
    }
    return {};
}

bool ExplorerWindow::openWithOffice(const std::string& path) {
    if (m_shared.dialogs.ask("Mit Open Office öffnen?") != Answer::Yes) return false;
    if (!platform::startProgram(officeProgram(), {path})) m_shared.dialogs.inform("Programm zu öffnen unbekannt! (2)");
    return true;
}

void ExplorerWindow::playFilm(const std::string& path, bool) { ui::playFilm(*this, m_shared.dialogs, path); }

}  // namespace pictra::ui
