// The main window's side of the "Text und Browser" window and the picture and
// link commands of the "HTML" menu.
#include "TextBrowserMenus.h"

#include <QDate>
#include <QFile>
#include <QLocale>
#include <QMenu>
#include <QScopedValueRollback>

#include "common/Codec.h"
#include "common/FileIo.h"
#include "common/UiText.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/Explorers.h"
#include "html/Browsers.h"
#include "html/HtmlRewrites.h"
#include "html/PictureDrop.h"
#include "html/SpecialCharacterDialog.h"
#include "html/TextBrowserWindow.h"
#include "html/preview/PictureInsertion.h"
#include "pictures/PictureNames.h"
#include "pictures/PictureWindow.h"
#include "pictures/editor/PictureEditor.h"
#include "platform/pictures/PictureInsertionFiles.h"
#include "platform/pictures/QtPictureCodecs.h"
#include "shell/FileRules.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "shell/QtEditorView.h"
#include "tables/HtmlTableWriter.h"
#include "tables/TableFormWindow.h"

namespace pictra::ui {

namespace {

const char* const kHtmlHint =
    "Schritte, um einen normalen Text in einen HTML-Text umzuwandeln:\r1. Text in \"HTML-Gerüst einbetten.\"\r"
    "2. Abschnitte durch Leerzeichen trennen. Dann \"Leerzeichen in <br><br> umwandeln\".\r"
    "   (Jetzt werden die Abschnitte auch in HTML als Abschnitte gezeigt.)\r"
    "3. Text, der mit Zeilenumbrüchen auch in HTML mit Zeilenumbrüchen dargestellt\r"
    "   werden soll, markieren. Dann: \"Ausgewählte Zeilen mit <br> versehen\".\r"
    "Zum Schluß: Überschriften in <h1> ... </h1> u.s.w. einbetten.\r"
    "Tabellen und Listen u.s.w. erstelen Sie mit \"Bausteine einfügen\".";
const char* const kBlocksTitle =
    "Schreiben und kontrollieren Sie Ihren Text. Sie können ihn anschließend in Ihr Dokument einfügen.";
const char* const kSelectionTitle = "Tabellen werden folgendermaßen gebildet";
const char* const kWholeTitle = "Text und Browser";

QAction* command(QMenu* menu, const char* name, const QString& text, std::function<void()> run,
                 const QKeySequence& key = {}) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    if (!key.isEmpty()) action->setShortcut(key);
    QObject::connect(action, &QAction::triggered, menu, [run = std::move(run)] { run(); });
    return action;
}

std::string documentFolder(MainWindow& window) {
    const std::string name = window.currentFileName();
    if (name.empty() || name.find('/') == std::string::npos) return {};
    return filerules::folderOf(name);
}

// Relative to the current document, sizes from the headers, never copied over an existing file.
preview::PictureSources pictureSources(MainWindow& window) {
    return platform::pictures::pictureInsertionSources(documentFolder(window));
}

void showPicture(MainWindow& window, const preview::PictureReference& picture) {
    if (!picture.error.empty()) {
        window.context().dialogs.inform(picture.error);
        return;
    }
    if (!QFile::exists(q(picture.path))) {
        window.context().dialogs.inform("Datei \"" + picture.path + "\" konnte nicht geladen werden.");
        return;
    }
    PictureWindow* pictures = window.pictureWindow();
    pictures->showPictureFile(picture.path, {});
}

// "Bild in HTML-Datei umwandeln": a page around one chosen picture, beside it, opened as a document.
void pictureToPage(MainWindow& window) {
    Dialogs& dialogs = window.context().dialogs;
    const auto chosen = dialogs.chooseOpenFile("Bild in HTML-Datei umwandeln", documentFolder(window));
    if (!chosen) return;
    if (!pictures::isPictureFile(chosen->substr(chosen->rfind('/') + 1))) {
        dialogs.inform(preview::kMsgNoPicture);
        return;
    }
    const std::string date = u(QLocale(QLocale::German).toString(QDate::currentDate(), QLocale::ShortFormat));
    const std::string page = preview::pictureHtmlName(*chosen);
    if (QFile::exists(q(page)) && dialogs.ask("Datei \"" + page + "\" überschreiben?") != Answer::Yes) return;
    const std::string text =
        preview::picturePage(*chosen, platform::pictures::headerSize(*chosen), html::pageSkeleton(date));
    if (!fileio::writeFileAtomic(page, text)) {
        dialogs.inform("Datei \"" + page + "\" konnte nicht gespeichert werden.");
        return;
    }
    window.files().loadFile(page);
}

// Opens the window with `text`; its result replaces the main document's selection.
void openWith(MainWindow& window, const std::string& title, const std::string& text, int colouring) {
    QPointer<PlainEditor> editor(window.currentEditor());
    textBrowserWindow(window).open(title, text, colouring, [editor](const std::string& result) {
        if (!editor) return;
        QtEditorView view(*editor);
        view.replaceSelection(result);
        view.focus();
    });
}

}  // namespace

TextBrowserWindow& textBrowserWindow(MainWindow& window) {
    if (auto* existing = window.findChild<TextBrowserWindow*>("FormTextUndBrowser", Qt::FindDirectChildrenOnly)) {
        return *existing;
    }
    TextBrowserHooks hooks;
    hooks.previewFileName = [&window] { return window.files().previewFileName(); };
    hooks.ownFileName = [&window] { return window.context().paths.programFileName(""); };
    hooks.saveMainDocument = [&window] { window.files().save(); };
    hooks.showExplorer = [&window] { window.explorers().showOnly(window.explorers().first()); };
    hooks.editorFont = [&window] { return window.editorFont(); };
    hooks.writeTable = [&window]() -> std::optional<std::string> {
        TableFormWindow* form = window.tableForm();
        // The building block puts the table into the text itself: no clipboard, no "insert it yourself".
        const QScopedValueRollback<std::function<void(const std::string&)>> quiet(form->onReturn, nullptr);
        form->openTableForm(true, window.editorFont());
        form->setWindowModality(Qt::ApplicationModal);
        form->exec();
        if (form->result() == tables::kTableCancelled) return std::nullopt;
        return form->result();
    };
    hooks.specialCharacter = [&window](PlainEditor& editor) {
        auto* dialog = window.findChild<SpecialCharacterDialog*>("SonderzeichenTextBrowser");
        if (!dialog) {
            dialog = new SpecialCharacterDialog(window.context().tones, &window);
            dialog->setObjectName("SonderzeichenTextBrowser");
        }
        QtEditorView view(editor);
        const std::string selection = view.selectedText();
        const int start = view.selectionStart();
        const special::Result result = dialog->choose(selection);
        if (result.outcome != special::Outcome::Insert && result.outcome != special::Outcome::Quote) return;
        view.replaceSelection(result.text);
        const int caret = special::caretAfterInsert(result.text, start, !selection.empty());
        if (caret >= 0) view.setCaret(caret);
    };
    hooks.saveEditorPicture = [&window](const std::string& path) {
        auto* editor = window.findChild<PictureEditor*>(QString(), Qt::FindDirectChildrenOnly);
        if (!editor || editor->picture().width() <= 0) return false;
        const std::string bytes = platform::pictures::encodeWithQt(editor->picture(), "bmp");
        return fileio::writeFileAtomic(path, bytes);
    };
    hooks.newBrowserWindow = [&window] { return window.browsers().createWindow(); };
    hooks.pictureSources = [&window] { return pictureSources(window); };
    hooks.lineBuffer = &window.lineBuffer();
    hooks.search = &window.searchSession();
    auto* created = new TextBrowserWindow(window.context().dialogs, window.context().store, window.context().tones,
                                          window.entities(), window.browsers().previewFiles(), std::move(hooks),
                                          &window);
    return *created;
}

void acceptPictureDrops(MainWindow& window, PlainEditor& editor) {
    new PictureDrop(editor, window.context().dialogs, [&window] { return pictureSources(window); });
}

void addTextBrowserCommands(MainWindow& window, QMenu* menu) {
    MainWindow* w = &window;
    auto whole = [w] {
        PlainEditor* editor = w->currentEditor();
        editor->selectAll();
        openWith(*w, kWholeTitle, toCp1252(editor->toPlainText()), 0);
    };
    QAction* half = command(menu, "HalbTextHalbBrowser1", "Halb Text halb Browser (mit Bausteinen im Angebot)", whole,
                            QKeySequence("Ctrl+F5"));
    half->setStatusTip("Browser im halben Fenster zeigen und Bausteine in gesamten Text einfügen");
    QAction* selected = command(menu, "NurAusgewaehltesHalb1", "Nur Ausgewähltes halb als Text halb im Browser",
                                [w, whole] {
                                    QtEditorView view(*w->currentEditor());
                                    const std::string selection = view.selectedText();
                                    if (selection.empty()) {
                                        whole();
                                        return;
                                    }
                                    openWith(*w, kSelectionTitle, selection, 999);
                                });
    selected->setStatusTip("Kopiertes im Browser zeigen");
}

void addHtmlInsertCommands(MainWindow& window, QMenu* menu) {
    MainWindow* w = &window;
    menu->addSeparator();
    QAction* blocks = command(menu, "BausteineEinfuegen1", "Bausteine einfügen", [w] {
        // The result goes in at the caret: the selection is given up first.
        PlainEditor* editor = w->currentEditor();
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(cursor.selectionStart());
        editor->setTextCursor(cursor);
        openWith(*w, kBlocksTitle, "", 0);
    });
    blocks->setStatusTip("Doppeltes Fenster: Bausteine direkt einfügen");
    command(menu, "HinweisBausteine1", "Hinweis dazu", [w] { w->context().dialogs.inform(kHtmlHint); });
    auto insertPictures = [w](bool large) {
        preview::PictureSources sources = pictureSources(*w);
        sources.explorerSelection = w->explorers().first().selectedPaths();
        QtEditorView view(*w->currentEditor());
        preview::insertPictures(view, w->context().dialogs, sources, large);
        view.focus();
    };
    command(menu, "BildEinfuegenHtml1", "Bild einfügen", [insertPictures] { insertPictures(false); });
    command(menu, "BildEinfuegen150Html1", "Bild einfügen 150 %", [insertPictures] { insertPictures(true); });
    command(menu, "BildZeigenCursorZeile1", "Bild zeigen, wenn Cursor in Zeile mit \"<img\" oder \"url(\"", [w] {
        QtEditorView view(*w->currentEditor());
        const auto lines = view.lines();
        const LineColumn at = lineColumnOf(lines, view.caret());
        const std::string line = at.line < static_cast<int>(lines.size()) ? lines[static_cast<size_t>(at.line)] : "";
        showPicture(*w, preview::pictureOfLine(line, documentFolder(*w)));
    });
    command(menu, "ErstesBildDerSeite1", "1. Bild der Seite zeigen", [w] {
        QtEditorView view(*w->currentEditor());
        showPicture(*w, preview::firstPictureOfPage(view.plainText(), documentFolder(*w)));
    });
    command(menu, "BildInHtmlDatei1", "Bild in HTML-Datei umwandeln", [w] { pictureToPage(*w); });
    command(menu, "LinkEinfuegenHtml1", "Link einfügen", [w] {
        QtEditorView view(*w->currentEditor());
        preview::insertLink(view, w->context().dialogs, documentFolder(*w));
        view.focus();
    });
}

}  // namespace pictra::ui
