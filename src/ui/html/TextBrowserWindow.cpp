#include "TextBrowserWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWebEngineView>

#include <QScopedValueRollback>

#include "common/Codec.h"
#include "common/Dialogs.h"
#include "common/FileIo.h"
#include "common/Placement.h"
#include "common/UiText.h"
#include "html/BrowserWindow.h"
#include "html/HtmlCommands.h"
#include "html/PictureDrop.h"
#include "html/TagColours.h"
#include "html/preview/BuildingBlocks.h"
#include "html/preview/PictureInsertion.h"
#include "html/preview/PreviewFiles.h"
#include "shell/PlainEditor.h"
#include "shell/QtEditorView.h"
#include "shell/editing/SearchBar.h"

namespace pictra::ui {

namespace {

const char* const kAskOverwritePart = "Den ausgewählten Teil wirklich überschreiben?";
const char* const kAskDiscard = "Der Text wurde geändert. Die Änderungen verwerfen?";

}  // namespace

TextBrowserWindow::TextBrowserWindow(Dialogs& dialogs, SettingsStore& store, Tones& tones, EntityTable& entities,
                                     preview::PreviewFiles& files, TextBrowserHooks hooks, QWidget* parent)
    : QDialog(parent, Qt::Window), m_dialogs(dialogs), m_store(store), m_tones(tones), m_entities(entities),
      m_files(files), m_hooks(std::move(hooks)),
      m_lineBuffer(m_hooks.lineBuffer ? *m_hooks.lineBuffer : m_ownLineBuffer),
      m_search(m_hooks.search ? *m_hooks.search : m_ownSearch) {
    setObjectName("FormTextUndBrowser");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QMenuBar(this);
    layout->setMenuBar(bar);
    buildSearchBar();
    layout->addWidget(m_searchBar);
    m_split = new QSplitter(Qt::Horizontal, this);
    m_split->setObjectName("Splitter1");
    m_editor = new PlainEditor(m_split);
    m_editor->setObjectName("RichEditTextBrowser");
    // The browser windows' own view, address field and status, without their menus.
    BrowserHooks browserHooks;
    browserHooks.newWindow = m_hooks.newBrowserWindow;
    m_browser = new BrowserWindow(std::move(browserHooks), m_split);
    m_browser->setWindowFlags(Qt::Widget);
    m_browser->setAttribute(Qt::WA_DeleteOnClose, false);
    m_browser->menuBar()->hide();
    m_split->addWidget(m_editor);
    m_split->addWidget(m_browser);
    m_split->setStretchFactor(0, 1);
    m_split->setStretchFactor(1, 1);
    layout->addWidget(m_split, 1);
    m_status = new QStatusBar(this);
    m_status->setObjectName("StatusBarTextBrowser");
    layout->addWidget(m_status);

    // Typing never waits for the page: the preview follows once typing pauses.
    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(300);
    connect(m_refreshTimer, &QTimer::timeout, this, [this] { writePreview(); });
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        if (m_painting) return;
        m_changed = true;
        m_refreshTimer->start();
    });
    connect(m_editor, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        const QTextCursor c = m_editor->textCursor();
        m_status->showMessage(QString("Zeile %1, Spalte %2").arg(c.blockNumber() + 1).arg(c.positionInBlock() + 1));
    });
    m_editor->installEventFilter(this);
    if (m_hooks.pictureSources) new PictureDrop(*m_editor, m_dialogs, m_hooks.pictureSources);
    buildMenus(bar);
}

QAction* TextBrowserWindow::add(QMenu* menu, const char* name, const QString& text, std::function<void()> command,
                                const QKeySequence& key) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    if (!key.isEmpty()) action->setShortcut(key);
    connect(action, &QAction::triggered, this, [command = std::move(command)] { command(); });
    return action;
}

void TextBrowserWindow::buildMenus(QMenuBar* bar) {
    auto withView = [this](auto command) {
        return [this, command] {
            QtEditorView view(*m_editor);
            command(view);
            refresh();
        };
    };
    QMenu* file = bar->addMenu("&Datei");
    file->setObjectName("DateiTB1");
    add(file, "DiesenTeilUeberschreiben1", "Diesen Teil überschreiben durch öffnen ...", [this] { overwriteFromFile(); });
    add(file, "NurDiesenTeilSpeichern1", "Nur diesen Teil speichern ...", [this] { savePart(); });
    add(file, "DieGesamteDateiSpeichern1", "Die gesamte Datei speichern", [this] {
        if (m_hooks.saveMainDocument) m_hooks.saveMainDocument();
    });
    file->addSeparator();
    add(file, "DiesenTeilDrucken1", "Diesen Teil drucken", [this] { m_browser->print(); });
    add(file, "GroesseAnDruckAnpassen1", "Größe an Druck anpassen", [this] { m_browser->printPreview(); });
    file->addSeparator();
    add(file, "AbbrechenTB1", "Abbrechen", [this] {
        m_silentClose = true;
        close();
    });
    add(file, "GeaendertenTextUebernehmen1", "Geänderten Text in die gelbe Datei übernehmen", [this] { takeOver(); });

    buildEditMenu(bar->addMenu("&Bearbeiten"));

    QMenu* browser = bar->addMenu("B&rowser");
    browser->setObjectName("BrowserTB1");
    add(browser, "AktualisierenTB1", "Aktualisieren", [this] { writePreview(); }, QKeySequence("F5"));
    QAction* full = add(browser, "VollerBildschirmTB1", "Voller Bildschirm", [this] {
        m_editor->setVisible(!m_editor->isVisible());
    });
    full->setStatusTip("Der Browser allein im Fenster, noch einmal: Text und Browser");
    add(browser, "SeitenansichtTB1", "Seitenansicht", [this] { m_browser->printPreview(); });
    add(browser, "VorTB1", "Vor", [this] { m_browser->forward(); });
    add(browser, "ZurueckTB1", "Zurück", [this] { m_browser->back(); });

    QMenu* html = bar->addMenu("&HTML");
    html->setObjectName("HTMLTB1");
    add(html, "LesbarTB1", "ä ö ü etc. lesbar",
        withView([this](EditorView& v) { html::decodeDocument(v, m_entities, m_tones); }));
    add(html, "HtmlCodeTB1", "ä ö ü etc. HTML-Code",
        withView([this](EditorView& v) { html::encodeDocument(v, m_entities, m_tones); }));
    html->addSeparator();
    const std::pair<const char*, html::ColourSet> colourings[] = {{"Links farbig", html::ColourSet::Links},
                                                                   {"<pre> etc. farbig", html::ColourSet::Formatting},
                                                                   {"Tabelle farbig", html::ColourSet::Table},
                                                                   {"Liste farbig", html::ColourSet::Lists}};
    const char* const names[] = {"LinksFarbigTB1", "PreFarbigTB1", "TabelleFarbigTB1", "ListeFarbigTB1"};
    for (int i = 0; i < 4; ++i) {
        const html::ColourSet set = colourings[i].second;
        add(html, names[i], colourings[i].first, [this, set] {
            QtEditorView view(*m_editor);
            html::colourOccurrences(view, m_dialogs, html::colourRules(set));
        });
    }

    QMenu* blocks = bar->addMenu("B&austeine");
    blocks->setObjectName("BausteineTB1");
    for (const preview::BuildingBlock& block : preview::buildingBlocks()) {
        const QKeySequence key =
            block.kind == preview::BlockKind::SpecialCharacters ? QKeySequence("Ctrl+H") : QKeySequence();
        add(blocks, block.objectName, QString::fromUtf8(block.caption).replace("&", "&&"),
            [this, &block] { chooseBlock(block); }, key);
    }

    QMenu* extras = bar->addMenu("E&xtras");
    extras->setObjectName("ExtrasTB1");
    add(extras, "DateienexplorerTB1", "Dateienexplorer", [this] {
        if (m_hooks.showExplorer) m_hooks.showExplorer();
    });
    add(extras, "ZeilenAuffuellenTB1", "Zeilen mit Leerstellen auffüllen", [this] {
        m_editor->setPlainText(fromCp1252(preview::padLines(toCp1252(m_editor->toPlainText()))));
    });
    add(extras, "LeerstellenEntfernenTB1", "überflüssige Leerstellen entfernen", [this] {
        m_editor->setPlainText(fromCp1252(preview::removeSurplusBlanks(toCp1252(m_editor->toPlainText()))));
    });
}

void TextBrowserWindow::open(const std::string& title, const std::string& text, int colouring,
                             std::function<void(const std::string&)> takeOver) {
    if (isVisible()) {
        m_silentClose = true;
        close();
    }
    m_takeOver = std::move(takeOver);
    setWindowTitle(q(title));
    if (m_hooks.editorFont) m_editor->setFont(m_hooks.editorFont());
    {
        const QSignalBlocker block(m_editor);
        m_editor->setPlainText(fromCp1252(preview::withCrLf(text)));
    }
    m_editor->moveCursor(QTextCursor::Start);
    m_searchBar->hide();
    m_searchBar->setHistory(m_search.history());
    colour(colouring);
    m_changed = false;
    m_silentClose = false;
    writePreview();
    setWindowModality(Qt::ApplicationModal);
    placeFrame(this, availableArea(this));
    showMaximized();
    // Half text, half page.
    const int half = std::max(m_split->width(), availableArea(this).width()) / 2;
    m_split->setSizes({half, half});
    raise();
    activateWindow();
    m_editor->setFocus();
}

void TextBrowserWindow::colour(int colouring) {
    QtEditorView view(*m_editor);
    for (const preview::ColouringPart part : preview::colouringOf(colouring)) {
        switch (part) {
            case preview::ColouringPart::Tables:
                html::colourOccurrences(view, m_dialogs, html::colourRules(html::ColourSet::Table));
                break;
            case preview::ColouringPart::Lists:
                html::colourOccurrences(view, m_dialogs, html::colourRules(html::ColourSet::Lists));
                break;
            case preview::ColouringPart::Links:
                html::colourOccurrences(view, m_dialogs, html::colourRules(html::ColourSet::Links));
                break;
            case preview::ColouringPart::TextElements:
                html::colourOccurrences(view, m_dialogs, html::colourRules(html::ColourSet::Formatting));
                break;
        }
    }
}

bool TextBrowserWindow::refreshing() const { return m_refreshTimer->isActive() || m_browser->loading(); }

void TextBrowserWindow::refresh() { m_refreshTimer->start(0); }

// Writes the page and reloads it; the reload keeps the page's scroll position.
void TextBrowserWindow::writePreview() {
    m_refreshTimer->stop();
    const std::string page = m_hooks.previewFileName ? m_hooks.previewFileName() : std::string();
    if (page.empty()) return;
    const std::string html = preview::textPreviewPage(toCp1252(m_editor->toPlainText()), m_entities, m_store);
    if (!m_files.write(page, html)) {
        m_status->showMessage(q("Die Vorschau \"" + page + "\" konnte nicht geschrieben werden."));
        return;
    }
    if (m_shownPage == page && m_browser->view()->url() == browserUrl(page) && m_browser->reload()) return;
    m_shownPage = page;
    m_browser->navigate(page);
    m_browser->setAddress(page);
}

void TextBrowserWindow::chooseBlock(const preview::BuildingBlock& block) {
    QtEditorView view(*m_editor);
    switch (block.kind) {
        case preview::BlockKind::MessageOnly: break;
        case preview::BlockKind::Snippet: preview::insertSnippet(view, block.snippet, block.caretBack); break;
        case preview::BlockKind::SpecialCharacters:
            if (m_hooks.specialCharacter) m_hooks.specialCharacter(*m_editor);
            break;
        case preview::BlockKind::TableForm:
            if (const auto table = m_hooks.writeTable ? m_hooks.writeTable() : std::nullopt) {
                preview::insertSnippet(view, *table, 0);
            }
            break;
        case preview::BlockKind::EditorPicture: {
            const std::string path = m_hooks.ownFileName ? m_hooks.ownFileName() + ".bmp" : std::string();
            if (path.empty() || !m_hooks.saveEditorPicture || !m_hooks.saveEditorPicture(path)) {
                m_dialogs.inform("Im Bildbearbeitungsfenster ist noch kein Bild geöffnet.");
                return;
            }
            preview::insertSnippet(view, preview::editorPictureSnippet(path), 0);
            break;
        }
        case preview::BlockKind::LinkPage: {
            const std::string path = m_hooks.ownFileName ? m_hooks.ownFileName() + ".html" : std::string();
            if (path.empty() || !fileio::writeFileAtomic(path, preview::kLinkTargetPage)) {
                m_dialogs.inform("Datei \"" + path + "\" konnte nicht geschrieben werden.");
                return;
            }
            preview::insertSnippet(view, preview::linkPageSnippet(path), 0);
            break;
        }
    }
    if (*block.message) m_dialogs.inform(block.message);
    m_editor->setFocus();
    writePreview();
}

void TextBrowserWindow::takeOver() {
    const std::string text = toCp1252(m_editor->toPlainText()) + "\r\n";
    m_silentClose = true;
    close();
    if (m_takeOver) m_takeOver(preview::withCrLf(text));
}

void TextBrowserWindow::overwriteFromFile() {
    if (m_dialogs.ask(kAskOverwritePart) != Answer::Yes) return;
    const auto path = m_dialogs.chooseOpenFile("Diesen Teil überschreiben durch öffnen ...", "");
    if (!path) return;
    const auto bytes = fileio::readFile(*path);
    if (!bytes) {
        m_dialogs.inform("Datei \"" + *path + "\" konnte nicht geladen werden.");
        return;
    }
    m_editor->setPlainText(fromCp1252(*bytes));
}

void TextBrowserWindow::savePart() {
    const auto path = m_dialogs.chooseSaveFile("Nur diesen Teil speichern ...", "");
    if (!path) return;
    if (!fileio::writeFileAtomic(*path, preview::withCrLf(toCp1252(m_editor->toPlainText())))) {
        m_dialogs.inform("Datei \"" + *path + "\" konnte nicht gespeichert werden.");
    }
}

void TextBrowserWindow::buildEditMenu(QMenu* edit) {
    edit->setObjectName("BearbeitenTB1");
    add(edit, "SuchenTB1", "Suchen", [this] {
        // As in the main window: entities become characters first, so that they are found as seen.
        QtEditorView view(*m_editor);
        html::decodeDocument(view, m_entities, m_tones);
        m_searchBar->showBar(false);
    }, QKeySequence("Ctrl+F"));
    add(edit, "WeitersuchenTB1", "Weitersuchen",
        [this] { search([this](EditorView& v, search::SearchBar& b) { m_search.next(v, b); }); }, QKeySequence("F3"));
    add(edit, "FusszeileKopierenTB1", "Text der Fußzeile kopieren",
        [this] { QApplication::clipboard()->setText(m_status->currentMessage()); });
    edit->addSeparator();
    // The program's one line buffer: lines cut here can be put into the main document and back.
    add(edit, "ZeileLoeschenTB1", "Zeile löschen (in Zeilenpuffer)", [this] {
        QtEditorView view(*m_editor);
        m_lineBuffer.cutLine(view);
    }, QKeySequence("Ctrl+Y"));
    add(edit, "ZeileBeibehaltenTB1", "Zeile beibehalten und in Zeilenpuffer", [this] {
        QtEditorView view(*m_editor);
        m_lineBuffer.keepLine(view);
    }, QKeySequence("Alt+Shift+Y"));
    add(edit, "ZeileZufuegenTB1", "Zeile aus Zeilenpuffer zufügen", [this] {
        QtEditorView view(*m_editor);
        if (!m_lineBuffer.insertLine(view)) m_status->showMessage(linetools::kMsgBufferEmpty);
    }, QKeySequence("Ctrl+Alt+Y"));
    add(edit, "ZeilenpufferLoeschenTB1", "Zeilenpuffer löschen", [this] { m_lineBuffer.clear(); },
        QKeySequence("Ctrl+Shift+Y"));
    add(edit, "BearbeiteZeilenpufferTB1", "Bearbeite Zeilenpuffer...", [this] {
        const std::string edited = m_dialogs.editText("Zeilenpuffer", codec::cp1252ToUtf8(m_lineBuffer.text()));
        if (edited != kCancelMarker) m_lineBuffer.setText(codec::utf8ToCp1252(edited));
    });
}

void TextBrowserWindow::buildSearchBar() {
    SearchBarWidget::Hooks hooks;
    hooks.notice = [this](const std::string& text) { m_status->showMessage(q(text)); };
    hooks.statusBar = [] {};
    hooks.beep = [this] { m_tones.errorTone(); };
    hooks.focusEditor = [this] {
        QTextCursor c = m_editor->textCursor();
        c.clearSelection();
        m_editor->setTextCursor(c);
        m_editor->setFocus();
    };
    hooks.resetFont = [this] {
        const QScopedValueRollback<bool> quiet(m_painting, true);
        QtEditorView(*m_editor).clearPaint();
    };
    m_searchBar = new SearchBarWidget(std::move(hooks), this);
    m_searchBar->setObjectName("PsuchenTextBrowser");
    using Command = void (search::SearchSession::*)(EditorView&, search::SearchBar&);
    const auto run = [this](Command command) {
        return [this, command] { search([this, command](EditorView& v, search::SearchBar& b) { (m_search.*command)(v, b); }); };
    };
    connect(m_searchBar, &SearchBarWidget::first, this, run(&search::SearchSession::first));
    connect(m_searchBar, &SearchBarWidget::next, this, run(&search::SearchSession::next));
    connect(m_searchBar, &SearchBarWidget::previous, this, run(&search::SearchSession::previous));
    connect(m_searchBar, &SearchBarWidget::last, this, run(&search::SearchSession::last));
    // Replacing is an edit: the preview follows.
    connect(m_searchBar, &SearchBarWidget::replaceNext, this, [this] {
        QtEditorView view(*m_editor);
        m_search.replace(view, *m_searchBar, m_dialogs);
    });
}

void TextBrowserWindow::search(const std::function<void(EditorView&, search::SearchBar&)>& command) {
    const QScopedValueRollback<bool> quiet(m_painting, true);
    QtEditorView view(*m_editor);
    command(view, *m_searchBar);
}

bool TextBrowserWindow::eventFilter(QObject* watched, QEvent* event) {
    // The editor would take these keys for itself (redo); here they are menu commands.
    if (watched == m_editor && event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        static const QList<QKeySequence> ours{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Y"),
                                              QKeySequence("Ctrl+F")};
        if (ours.contains(QKeySequence(key->keyCombination()))) {
            event->ignore();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Esc closes as the frame does.
void TextBrowserWindow::reject() { close(); }

void TextBrowserWindow::closeEvent(QCloseEvent* event) {
    // Closed by its frame after changes: asked before the text is thrown away.
    if (!m_silentClose && m_changed && m_dialogs.ask(kAskDiscard) != Answer::Yes) {
        event->ignore();
        return;
    }
    m_silentClose = false;
    m_refreshTimer->stop();
    QDialog::reject();
    event->accept();
}

}  // namespace pictra::ui
