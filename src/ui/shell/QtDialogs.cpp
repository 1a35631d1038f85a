#include "QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "CancelWindow.h"
#include "TextWindow.h"
#include "common/Placement.h"
#include "common/UiText.h"
#include "platform/LocalPaths.h"
#include "common/Text.h"
#include "tools/Tones.h"

namespace pictra::ui {

namespace {

const QString kTitle = QStringLiteral("Pictra");

// A prompt lives on the heap and is owned by the window it belongs to: should that
// window be destroyed while the prompt is open, the prompt goes with it, and what
// was asked counts as not answered.
template <typename Dialog>
class Prompt {
public:
    template <typename... Args>
    explicit Prompt(Args&&... args) : m_dialog(new Dialog(std::forward<Args>(args)...)) {}
    ~Prompt() { delete m_dialog.data(); }
    Prompt(const Prompt&) = delete;
    Prompt& operator=(const Prompt&) = delete;
    Dialog* operator->() const { return m_dialog.data(); }
    Dialog* get() const { return m_dialog.data(); }
    // True when it was accepted and still exists.
    bool run() { return m_dialog->exec() == QDialog::Accepted && m_dialog; }
    bool alive() const { return !m_dialog.isNull(); }

private:
    QPointer<Dialog> m_dialog;
};

void giveFocusTo(QWidget* window) {
    window->raise();
    window->activateWindow();
}

// A kept window of the port (text window, cancel window) goes over the window it
// now serves; moving it while it is shown would hide it.
void belongTo(QWidget* window, QWidget* owner) {
    if (!owner || window->isVisible() || window->parentWidget() == owner || window == owner ||
        window->isAncestorOf(owner)) {
        return;
    }
    window->setParent(owner, window->windowFlags());
}

}  // namespace

// The prompts of one call of the port belong to the window the call came from;
// the first prompt of the call decides it. After the call the focus goes back to
// that window, so that it stays in front rather than the main window.
class QtDialogs::OriginScope {
public:
    explicit OriginScope(QtDialogs& dialogs)
        : m_dialogs(dialogs), m_outer(dialogs.m_origin), m_window(dialogs.origin()) {
        m_dialogs.m_origin = m_window;
    }
    ~OriginScope() {
        m_dialogs.m_origin = m_outer;
        if (!m_window || m_window == m_outer) return;
        m_dialogs.m_lastOrigin = m_window;
        if (m_window->isVisible()) giveFocusTo(m_window);
    }
    OriginScope(const OriginScope&) = delete;
    OriginScope& operator=(const OriginScope&) = delete;
    QWidget* window() const { return m_window; }

private:
    QtDialogs& m_dialogs;
    QPointer<QWidget> m_outer;
    QPointer<QWidget> m_window;
};

// Notes the window of every key press and mouse press: the window the user works
// in, also where no window manager makes it the active one and a click leaves the
// focus where it was.
class QtDialogs::InputWatch : public QObject {
public:
    explicit InputWatch(QtDialogs& dialogs) : m_dialogs(dialogs) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        // A window a command has just opened is where the user's eyes are: the
        // questions that follow (the file the compare window asks for) stand over it.
        if (type == QEvent::Show && watched->isWidgetType()) {
            auto* shown = static_cast<QWidget*>(watched);
            if (shown->isWindow() && shown->windowType() == Qt::Window) m_dialogs.m_inputWindow = shown;
            return false;
        }
        // A key that is a shortcut reaches the focus widget only as the override query.
        const bool input =
            type == QEvent::MouseButtonPress || type == QEvent::KeyPress || type == QEvent::ShortcutOverride;
        if (!input || !watched->isWidgetType()) return false;
        QWidget* window = static_cast<QWidget*>(watched)->window();
        const Qt::WindowType kind = window->windowType();
        if (kind != Qt::Popup && kind != Qt::ToolTip) m_dialogs.m_inputWindow = window;
        return false;
    }

private:
    QtDialogs& m_dialogs;
};

QtDialogs::QtDialogs(Tones& tones) : m_tones(tones), m_inputWatch(std::make_unique<InputWatch>(*this)) {
    if (QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(m_inputWatch.get());
}

QtDialogs::~QtDialogs() {
    delete m_textWindow.data();
    delete m_cancelWindow.data();
}

// The window the user last pressed a key or the mouse in, else the active window of
// the program, unless it is the cancel window (then the window whose operation shows
// it) or already gone; else the window of the call under way, the window of the
// last prompt while it is shown, and last the main window.
QWidget* QtDialogs::origin() const {
    for (QWidget* window : {m_inputWindow.data(), QApplication::activeWindow()}) {
        if (window && window == m_cancelWindow.data()) window = m_cancelOrigin.data();
        if (window && window->isVisible()) return window;
    }
    if (m_origin) return m_origin;
    if (m_lastOrigin && m_lastOrigin->isVisible()) return m_lastOrigin;
    return m_parent;
}

void QtDialogs::inform(const std::string& text) {
    OriginScope scope(*this);
    m_tones.chime();
    Prompt<QMessageBox> box(QMessageBox::Information, kTitle, message(text), QMessageBox::NoButton, scope.window());
    box->setObjectName("MessageBox");
    // Messages quote HTML ("<br>", "<img"): shown as written, never as rich text.
    box->setTextFormat(Qt::PlainText);
    box->addButton("OK", QMessageBox::AcceptRole);
    box->exec();
}

Answer QtDialogs::ask(const std::string& question) {
    OriginScope scope(*this);
    Prompt<QMessageBox> box(QMessageBox::Question, kTitle, message(question), QMessageBox::NoButton, scope.window());
    box->setObjectName("MessageBox");
    box->setTextFormat(Qt::PlainText);
    QPushButton* yes = box->addButton("&Ja", QMessageBox::YesRole);
    QPushButton* no = box->addButton("&Nein", QMessageBox::NoRole);
    QPushButton* cancel = cancelMode() ? box->addButton("&Abbrechen", QMessageBox::RejectRole) : nullptr;
    box->setDefaultButton(yes);
    box->setEscapeButton(cancel ? cancel : no);
    box->exec();
    const QAbstractButton* clicked = box.alive() ? box->clickedButton() : nullptr;
    if (clicked == yes) return Answer::Yes;
    if (cancel && clicked != no) return Answer::Cancel;
    return Answer::No;
}

bool QtDialogs::askNumber(const std::string& title, const std::string& prompt, long long& number) {
    OriginScope scope(*this);
    QString value = QString::number(number);
    while (true) {
        auto answer = askText(title, prompt, u(value));
        if (!answer) return false;
        if (auto parsed = text::parseInt(*answer)) {
            number = *parsed;
            return true;
        }
        inform("Bitte nur eine Zahl eingeben!");
        value = q(*answer);
    }
}

std::optional<std::string> QtDialogs::askText(const std::string& title, const std::string& prompt,
                                              const std::string& value) {
    OriginScope scope(*this);
    Prompt<QInputDialog> dialog(scope.window());
    dialog->setObjectName("InputBox");
    dialog->setWindowTitle(q(title));
    dialog->setLabelText(message(prompt));
    dialog->setTextValue(q(value));
    dialog->setOkButtonText("OK");
    dialog->setCancelButtonText("Abbrechen");
    if (!dialog.run()) return std::nullopt;
    return u(dialog->textValue());
}

TextWindow* QtDialogs::textWindow() {
    if (!m_textWindow) m_textWindow = new TextWindow(*this, m_tones, m_parent);
    return m_textWindow;
}

std::string QtDialogs::editText(const std::string& title, const std::string& text) {
    OriginScope scope(*this);
    const QFont font = m_textFont ? m_textFont() : QFont("Courier New", 12);
    TextWindow* window = textWindow();
    belongTo(window, scope.window());
    return u(window->editText(q(title), q(text), font));
}

void QtDialogs::showText(const std::string& title, const std::string& text) {
    OriginScope scope(*this);
    const QFont font = m_textFont ? m_textFont() : QFont("Courier New", 12);
    TextWindow* window = textWindow();
    belongTo(window, scope.window());
    window->showText(q(title), q(text), font, true);
}

bool QtDialogs::confirmText(const std::string& caption, const std::string& upper, const std::string& lower) {
    return runConfirmText(caption, upper, lower, nullptr);
}

bool QtDialogs::confirmTextEdited(const std::string& caption, const std::string& upper, const std::string& lower,
                                  std::string& edited) {
    return runConfirmText(caption, upper, lower, &edited);
}

bool QtDialogs::runConfirmText(const std::string& caption, const std::string& upper, const std::string& lower,
                               std::string* edited) {
    OriginScope scope(*this);
    Prompt<QDialog> dialog(scope.window());
    dialog->setObjectName("confirmText");
    dialog->setWindowTitle(q(caption));
    auto* layout = new QVBoxLayout(dialog.get());
    const QFont font = m_textFont ? m_textFont() : QFont("Courier New", 12);
    QPlainTextEdit* lowerView = nullptr;
    for (const std::string* text : {&upper, &lower}) {
        auto* view = new QPlainTextEdit(message(*text), dialog.get());
        view->setReadOnly(text == &upper || !edited);
        view->setFont(font);
        layout->addWidget(view);
        lowerView = view;
    }
    lowerView->setObjectName("lowerText");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog.get());
    buttons->button(QDialogButtonBox::Cancel)->setText("Abbrechen");
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog.get(), &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog.get(), &QDialog::reject);
    layout->addWidget(buttons);
    resizeOnScreen(dialog.get(), QSize(900, 650));
    if (edited) lowerView->setFocus();
    const bool ok = dialog.run();
    if (ok && edited) *edited = u(lowerView->toPlainText());
    return ok;
}

namespace {

// The file dialogs of loading and saving, with the program's filters and a size
// at which the columns can be read.
QString runFileDialog(QWidget* parent, const QString& title, const QString& start, QFileDialog::AcceptMode mode) {
    Prompt<QFileDialog> dialog(parent, title, start);
    dialog->setObjectName(mode == QFileDialog::AcceptOpen ? "OpenDialog1" : "SaveDialog1");
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog->setNameFilters(
        {"Alle Dateien (*.*)", "HTML-Dateien (*.html)", "HTML-Dateien (*.htm)", "Textdateien (*.txt)"});
    // No question before overwriting: the day backup keeps the old file.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    resizeOnScreen(dialog.get(), QSize(900, 600));
    if (!dialog.run() || dialog->selectedFiles().isEmpty()) return {};
    return dialog->selectedFiles().front();
}

}  // namespace

std::optional<std::string> QtDialogs::chooseOpenFile(const std::string& title, const std::string& folder) {
    OriginScope scope(*this);
    const QString path = runFileDialog(scope.window(), q(title), q(folder), QFileDialog::AcceptOpen);
    if (path.isEmpty()) return std::nullopt;
    return platform::localPath(path);
}

std::optional<std::string> QtDialogs::chooseSaveFile(const std::string& title, const std::string& path) {
    OriginScope scope(*this);
    const QString chosen = runFileDialog(scope.window(), q(title), q(path), QFileDialog::AcceptSave);
    if (chosen.isEmpty()) return std::nullopt;
    const std::string local = platform::localPath(chosen);
    // The question before a new file is created.
    if (!QFileInfo::exists(chosen) &&
        ask("Die Datei \"" + local + "\" ist nicht vorhanden.\rMöchten Sie sie erstellen?") != Answer::Yes) {
        return std::nullopt;
    }
    return local;
}

std::optional<std::string> QtDialogs::chooseFolder(const std::string& title, const std::string& folder) {
    OriginScope scope(*this);
    Prompt<QFileDialog> dialog(scope.window(), q(title), q(folder));
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    if (!dialog.run() || dialog->selectedFiles().isEmpty()) return std::nullopt;
    return platform::localPath(dialog->selectedFiles().front());
}

std::optional<FontSpec> QtDialogs::chooseFont(const FontSpec& current) {
    OriginScope scope(*this);
    // Preselected as the font really drawn ("Courier New" may stand for Liberation Mono).
    QFont start = fontFromSpec(current);
    start.setFamily(QFontInfo(start).family());
    Prompt<QFontDialog> dialog(start, scope.window());
    dialog->setWindowTitle("Schrift");
    if (!dialog.run()) return std::nullopt;
    return specFromFont(dialog->selectedFont());
}

std::optional<std::uint32_t> QtDialogs::chooseColour(std::uint32_t current) {
    OriginScope scope(*this);
    Prompt<QColorDialog> dialog(colourFromWindows(current), scope.window());
    dialog->setWindowTitle("Farbe");
    if (!dialog.run() || !dialog->selectedColor().isValid()) return std::nullopt;
    return colourToWindows(dialog->selectedColor());
}

CancelWindow* QtDialogs::cancelWindow() {
    if (!m_cancelWindow) m_cancelWindow = new CancelWindow(m_parent);
    return m_cancelWindow;
}

// The cancel window stands over the window whose operation it belongs to.
void QtDialogs::beginCancelWindow(const std::string& text) {
    CancelWindow* window = cancelWindow();
    if (!window->isVisible()) {
        m_cancelOrigin = origin();
        belongTo(window, m_cancelOrigin);
    }
    window->begin(q(text));
}

bool QtDialogs::stepCancelWindow(const std::string& text) { return cancelWindow()->step(q(text)); }

// Once it is gone the focus goes back to that window rather than to the main window.
void QtDialogs::endCancelWindow() {
    if (!m_cancelWindow) return;
    const bool hadFocus = m_cancelWindow->isActiveWindow();
    m_cancelWindow->end();
    if (!m_cancelOrigin) return;
    m_lastOrigin = m_cancelOrigin;
    if (hadFocus && m_cancelOrigin->isVisible()) giveFocusTo(m_cancelOrigin);
}

bool QtDialogs::cancelWindowVisible() const { return m_cancelWindow && m_cancelWindow->isVisible(); }

void QtDialogs::requestCancel() {
    if (m_cancelWindow) m_cancelWindow->requestCancel();
}

}  // namespace pictra::ui
