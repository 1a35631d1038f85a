// Rich text: reading and writing RTF files and the "RTF" submenu.
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTextCursor>

#include "shell/DocumentArea.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "shell/files/RichText.h"
#include "common/Placement.h"
#include "common/UiText.h"
#include "common/FileIo.h"
#include "shell/Documents.h"
#include "shell/Rtf.h"

namespace pictra::ui {

void MainWindow::buildRtfMenu(QMenu* file) {
    addCommand(file, "RTFEinlesen1", "Eine RTF-Datei einlesen", [this] { readRtfFile(); });
    addCommand(file, "RTFSpeichern1", "Als RTF-Datei (mit Formatierungen) speichern", [this] { saveRtfFile(); });
    QMenu* menu = file->addMenu("RTF");
    menu->setObjectName("RTF1");
    addCommand(menu, "Zeilenumbruch1", "Automatischen Zeilenumbruch aktivieren", [this] { enableWordWrap(); });
    addCommand(menu, "Linksbuendig1", "Linksbündig schreiben", [this] { alignSelection(Qt::AlignLeft); });
    addCommand(menu, "Zentriert1", "Zentriert schreiben", [this] { alignSelection(Qt::AlignHCenter); });
    addCommand(menu, "AusgewaehltesFormatieren1", "Ausgewähltes formatieren", [this] { formatSelection(); });
}

void MainWindow::readRtfFile() {
    const std::string name = currentFileName();
    auto path = m_context.dialogs.chooseOpenFile("Eine RTF-Datei einlesen",
                                                 name.find('?') == std::string::npos ? name : std::string());
    if (path) loadRtfFile(*path);
}

// A non-empty document keeps its text: the file goes into a new document then.
bool MainWindow::loadRtfFile(const std::string& path) {
    auto bytes = fileio::readFile(path);
    if (!bytes) {
        m_context.dialogs.inform("Datei \"" + path + "\"kann nicht geladen werden.");
        return false;
    }
    if (hasVisibleText(currentEditor())) newDocument();
    fromRtfDocument(rtf::read(*bytes), *currentEditor()->document());
    setCurrentFileName(path);
    m_documents->setTabText(currentIndex(), q(documents::fileNamePart(path)));
    refreshCaption();
    return true;
}

void MainWindow::saveRtfFile() {
    const std::string name = currentFileName();
    auto path = m_context.dialogs.chooseSaveFile("Als RTF-Datei (mit Formatierungen) speichern",
                                                 name.find('?') == std::string::npos ? name : std::string());
    if (!path) return;
    const std::string rich = rtf::write(toRtfDocument(*currentEditor()->document(), currentEditor()->font()));
    if (!fileio::writeFileAtomic(*path, rich)) {
        m_context.dialogs.inform(
            "Kann nicht speichern!\rSchreibgeschützt?\rCD-Laufwerk?\rvon Word oder anderem Programm geöffnet?");
        return;
    }
    setCurrentFileName(*path);
    m_documents->setTabText(currentIndex(), q(documents::fileNamePart(*path)));
    refreshCaption();
}

void MainWindow::enableWordWrap() {
    currentEditor()->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    const QScreen* screen = QApplication::primaryScreen();
    const QRect s = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    showNormal();
    placeFrame(this, QRect(100, 100, s.width() - 300, s.height() - 100));
}

void MainWindow::alignSelection(Qt::Alignment alignment) {
    QTextCursor cursor = currentEditor()->textCursor();
    QTextBlockFormat format;
    format.setAlignment(alignment);
    cursor.mergeBlockFormat(format);
}

void MainWindow::formatSelection() {
    PlainEditor* editor = currentEditor();
    auto font = m_context.dialogs.chooseFont(specFromFont(editor->currentCharFormat().font()));
    if (!font) return;
    QTextCharFormat format;
    format.setFont(fontFromSpec(*font));
    if (auto colour = m_context.dialogs.chooseColour(0)) format.setForeground(colourFromWindows(*colour));
    editor->textCursor().mergeCharFormat(format);
}

}  // namespace pictra::ui
