#include "MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QStatusTipEvent>
#include <QMessageBox>
#include <QTextBlock>
#include <QShortcut>
#include <QTimer>
#include <QMenuBar>
#include <QVBoxLayout>

#include "DocumentArea.h"
#include "QtEditorView.h"
#include "shell/editing/SearchBar.h"
#include "tables/SheetDocument.h"
#include "tables/TableSheetWindow.h"
#include "calc/CalculatorDialog.h"
#include "calc/CalculatorPanel.h"
#include "DocumentMenu.h"
#include "MainDocumentHost.h"
#include "PlainEditor.h"
#include "StatusBars.h"
#include "common/UiText.h"
#include "explorer/Explorers.h"
#include "html/Browsers.h"
#include "html/TextBrowserMenus.h"
#include "pictures/PictureWindow.h"
#include "shell/Documents.h"
#include "shell/StatusTexts.h"

namespace pictra::ui {

namespace {
constexpr int kTimerInterval = 3000;
const QColor kSecondInstanceBackground(170, 255, 170);

QString nowDateTime() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return q(status::germanDateTime(d.year(), d.month(), d.day(), d.dayOfWeek(), t.hour(), t.minute()));
}
}  // namespace

MainWindow::MainWindow(AppContext& context, MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_options(options) {
    setObjectName("Form1");
    setWindowTitle("Pictra");
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_calculator = new CalculatorPanel(m_context.dialogs, central);
    m_calculator->setEditorProvider([this] { return std::make_unique<QtEditorView>(*currentEditor()); });
    m_calculator->hide();
    layout->addWidget(m_calculator);
    buildSearchBar(central);
    layout->addWidget(m_searchBar);
    m_documents = new DocumentArea(central);
    m_documents->setEditorFont(editorFont());
    if (m_options.secondInstance) m_documents->setEditorBackground(kSecondInstanceBackground);
    layout->addWidget(m_documents, 1);
    setCentralWidget(central);
    m_status = new StatusBars(this);
    layout->addWidget(m_status->noticeBar());
    connect(m_status, &StatusBars::noticeOpened, this, [this](const QString& text) {
        auto* box = new QMessageBox(QMessageBox::Information, "Pictra", text, QMessageBox::NoButton, this);
        box->setObjectName("NoticeWindow");
        box->addButton("OK", QMessageBox::AcceptRole);
        box->setModal(false);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
    });
    connect(m_documents, &DocumentArea::documentCreated, this, &MainWindow::configureEditor);
    connect(m_documents, &DocumentArea::currentChanged, this, [this] {
        refreshCaption();
        updateCaret();
    });
    connect(m_documents, &DocumentArea::textChanged, this, [this](PlainEditor* editor) {
        if (editor == m_documents->currentEditor()) refreshCaption();
    });
    m_status->setDateTime(nowDateTime());
    m_host = std::make_unique<MainDocumentHost>(*this);
    m_files = std::make_unique<DocumentFiles>(*m_host, m_context.dialogs, m_context.store, m_context.paths,
                                              m_entities, m_context.tones);
    confirmClose = [this](int index) { return m_files->confirmClose(index); };
    m_skeletonDate = u(QLocale(QLocale::German).toString(QDate::currentDate(), QLocale::ShortFormat));
    buildExplorers();
    buildMenus();
    m_timer = new QTimer(this);
    m_timer->setObjectName("Timer1");
    m_timer->setInterval(kTimerInterval);
    connect(m_timer, &QTimer::timeout, this, &MainWindow::timerTick);
    // F10 opens the menu bar, as on other desktops.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        const auto actions = menuBar()->actions();
        if (actions.isEmpty()) return;
        menuBar()->setActiveAction(actions.front());
    });
}

MainWindow::~MainWindow() = default;

// Menu hints go to the message panel, not over the whole status bar.
bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        m_status->showStatus(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void MainWindow::configureEditor(PlainEditor* editor) {
    editor->installEventFilter(this);
    acceptPictureDrops(*this, *editor);
    connect(editor, &PlainEditor::typingRefused, this, [this] {
        m_context.tones.errorTone();
        showStatus("Text zu lang: mehr als 1 000 000 Zeichen können nicht eingetippt werden.");
    });
    editor->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(editor, &QWidget::customContextMenuRequested, this,
            [this, editor](const QPoint& pos) { showDocumentMenu(editor->mapToGlobal(pos)); });
    connect(editor, &QPlainTextEdit::cursorPositionChanged, this, [this, editor] {
        if (editor == m_documents->currentEditor()) updateCaret();
    });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The editor would take these keys for itself (select all, redo); here they are menu commands.
    if (event->type() == QEvent::ShortcutOverride && qobject_cast<PlainEditor*>(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        static const QList<QKeySequence> ours{QKeySequence("Ctrl+A"), QKeySequence("Ctrl+Y"),
                                              QKeySequence("Ctrl+Shift+Y"), QKeySequence("Ctrl+F")};
        if (ours.contains(QKeySequence(key->keyCombination()))) {
            event->ignore();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        if (auto* editor = qobject_cast<PlainEditor*>(watched)) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (calculatorKey(key)) return true;
            if (editorKey(editor, key)) return true;
            // Only a key that changes the text is an edit: moving the caret, or a key
            // refused at the length limit, must not copy a large text.
            const bool changes = (!key->text().isEmpty() && key->text().at(0).isPrint() &&
                                  !(key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) &&
                                  editor->document()->characterCount() - 1 < editor->maxLength()) ||
                                 key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete ||
                                 key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (changes) noteFirstEdit(editor);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// F4, F5 and F6 belong to the calculator line while it is shown; Esc hides it.
bool MainWindow::calculatorKey(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        m_calculator->hide();
        return false;
    }
    if (m_calculator->isHidden() || event->modifiers() != Qt::NoModifier) return false;
    switch (event->key()) {
        case Qt::Key_F4: m_calculator->step(+1); return true;
        case Qt::Key_F5: m_calculator->step(-1); return true;
        case Qt::Key_F6: m_calculator->complete(); return true;
        default: return false;
    }
}

void MainWindow::toggleCalculatorLine() { m_calculator->setVisible(m_calculator->isHidden()); }

CalculatorDialog* MainWindow::calculatorDialog() {
    if (!m_calculatorDialog) m_calculatorDialog = new CalculatorDialog(m_context.dialogs, this);
    return m_calculatorDialog;
}

// The state of a document before this session's first key press, for "Alte Datei (Stand vor Sitzung)".
void MainWindow::noteFirstEdit(PlainEditor* editor) {
    const int index = currentIndex();
    DocumentSlot& s = m_documents->slot(index);
    if (s.editor != editor || !s.firstEditSnapshot.empty() || editor->blockCount() <= 2) return;
    s.firstEditSnapshot = u(editor->toPlainText().replace('\n', "\r\n")) + "\r\n" + s.fileName;
}

void MainWindow::updateCaret() {
    const QTextCursor cursor = currentEditor()->textCursor();
    m_status->setCaret(cursor.blockNumber() + 1, cursor.positionInBlock());
}

void MainWindow::ensureDocument() {
    if (m_documents->count() == 0) newDocument();
}

int MainWindow::currentIndex() {
    ensureDocument();
    return m_documents->currentIndex();
}

PlainEditor* MainWindow::currentEditor() {
    ensureDocument();
    return m_documents->currentEditor();
}

std::string MainWindow::currentFileName() {
    ensureDocument();
    return m_documents->currentFileName();
}

void MainWindow::setCurrentFileName(const std::string& path) {
    ensureDocument();
    m_documents->setCurrentFileName(path);
}
int MainWindow::findOpen(const std::string& path) const { return m_documents->findOpen(path); }

void MainWindow::newDocument() {
    m_documents->newDocument();
    setWindowTitle(m_pendingCaption.isEmpty() ? "?" : m_pendingCaption);
    m_pendingCaption.clear();
    show();
    currentEditor()->setFocus();
}

void MainWindow::switchTo(int index) {
    if (!m_documents->switchTo(index)) m_context.dialogs.inform("Programmfehler \"umschalten\"!");
}

void MainWindow::refreshCaption() {
    PlainEditor* editor = currentEditor();
    const QTextBlock first = editor->document()->firstBlock();
    setWindowTitle(q(documents::windowCaption(currentFileName(), editor->blockCount(),
                                              first.text().startsWith('*'), u(m_alarmTimes))));
}

void MainWindow::removeDocument(int index) {
    m_documents->removeDocument(index);
    refreshCaption();
}

void MainWindow::removeAllDocuments() {
    setWindowTitle("");
    m_documents->removeAllDocuments();
}

void MainWindow::showStatus(const QString& text) {
    m_status->showStatus(text);
    m_timer->start(kTimerInterval);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::showNotice(const QString& text) { m_status->showNotice(text); }

void MainWindow::showNoticeBriefly(const QString& text) {
    showNotice(text);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QTimer::singleShot(1000, this, [this, text] {
        if (m_status->noticeText() == text) m_status->hideNotice();
    });
}

void MainWindow::timerTick() {
    if (m_context.dialogs.cancelWindowVisible() || m_closing) return;
    handOverStartRequest();
    ringAlarmIfDue();
    m_status->ageNotice();
    m_status->setDateTime(nowDateTime());
    m_status->agePanel();
}

void MainWindow::handOverStartRequest() {
    if (m_startRequest.empty() || !m_startRequestHandler) return;
    const std::string request = m_startRequest;
    m_startRequest.clear();
    m_startRequestHandler(request);
}

void MainWindow::ringAlarmIfDue() {
    if (m_alarmTimes.isEmpty()) return;
    refreshCaption();
    std::string times = u(m_alarmTimes);
    if (!status::takeAlarm(times, u(QTime::currentTime().toString("hh:mm")))) return;
    m_alarmTimes = q(times);
    for (int flash = 0; flash < 3; ++flash) QApplication::alert(this, 500);
    m_context.tones.chime();
    m_context.tones.chime();
    showNotice("Wecker");
}

void MainWindow::showDocumentMenu(const QPoint& globalPos) {
    QMenu* menu = buildDocumentMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

QMenu* MainWindow::buildDocumentMenu() {
    auto* menu = new DocumentMenu(documents::documentMenu(m_documents->fileNames()), this);
    const int explorerEntry = m_documents->count();
    connect(menu, &DocumentMenu::hintShown, this, [this](const QString& hint) { m_status->showStatus(hint); });
    connect(menu, &DocumentMenu::chosen, this, [this, explorerEntry](int index) {
        if (index < explorerEntry) {
            switchTo(index);
        } else {
            showCurrentFolder();
        }
    });
    return menu;
}

void MainWindow::showCurrentFolder() { showExplorerAtCurrentDocument(); }

// A right click on the window's background starts and shows the explorer.
void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        m_explorers->first().start("");
        m_explorers->first().raise();
        return;
    }
    QMainWindow::mousePressEvent(event);
}

bool MainWindow::confirmAllDocuments() {
    if (!confirmClose) return true;
    for (int i = 0; i < m_documents->count(); ++i) {
        if (!confirmClose(i)) return false;
    }
    return true;
}

void MainWindow::saveAtExit() {
    if (m_closed) return;
    m_closed = true;
    m_explorers->storeAtExit();
    storeSearchHistory();
    m_context.settingsFile.saveAtExit(m_context.store);
    m_context.explorerFolders.save(m_context.paths.explorerFolderListFileName());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_context.dialogs.cancelWindowVisible()) {
        if (m_context.dialogs.ask("Das programm wirklich beenden, obwohl noch Aktivitäten vorgenommen werden!") !=
            Answer::Yes) {
            event->ignore();
            return;
        }
        m_context.dialogs.requestCancel();
    } else if (m_tableSheet && m_tableSheet->isVisible() && m_tableSheet->modified()) {
        // The grid's changes are not in the document yet: ending now would lose them.
        m_context.dialogs.inform(tables::kMsgCloseModified);
        m_tableSheet->raise();
        event->ignore();
        return;
    } else if (!confirmAllDocuments()) {
        event->ignore();
        return;
    }
    m_closing = true;
    m_timer->stop();
    saveAtExit();
    event->accept();
    if (m_browserList) {
        for (BrowserWindow* browser : m_browserList->windows()) browser->close();
    }
    m_explorers->first().hide();
    m_explorers->second().hide();
    // With its blue background and extra pictures; a picture still being decoded is let go.
    if (m_pictureWindow) m_pictureWindow->close();
    // The picture overview stands on its own on the screen: it goes with the program.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == "TForm18aimage") top->close();
    }
}

}  // namespace pictra::ui
