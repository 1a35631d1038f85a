#include "QtDialogs.h"

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
#include "common/UiText.h"
#include "platform/LocalPaths.h"
#include "common/Text.h"
#include "tools/Tones.h"

namespace pictra::ui {

namespace {
const QString kTitle = QStringLiteral("Pictra");
}

QtDialogs::QtDialogs(Tones& tones) : m_tones(tones) {}

QtDialogs::~QtDialogs() {
    delete m_textWindow.data();
    delete m_cancelWindow.data();
}

void QtDialogs::inform(const std::string& text) {
    m_tones.chime();
    QMessageBox box(QMessageBox::Information, kTitle, message(text), QMessageBox::NoButton, m_parent);
    box.setObjectName("MessageBox");
    box.addButton("OK", QMessageBox::AcceptRole);
    box.exec();
}

Answer QtDialogs::ask(const std::string& question) {
    QMessageBox box(QMessageBox::Question, kTitle, message(question), QMessageBox::NoButton, m_parent);
    box.setObjectName("MessageBox");
    QPushButton* yes = box.addButton("&Ja", QMessageBox::YesRole);
    QPushButton* no = box.addButton("&Nein", QMessageBox::NoRole);
    QPushButton* cancel = cancelMode() ? box.addButton("&Abbrechen", QMessageBox::RejectRole) : nullptr;
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel ? cancel : no);
    box.exec();
    if (box.clickedButton() == yes) return Answer::Yes;
    if (cancel && box.clickedButton() != no) return Answer::Cancel;
    return Answer::No;
}

bool QtDialogs::askNumber(const std::string& title, const std::string& prompt, long long& number) {
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
    QInputDialog dialog(m_parent);
    dialog.setObjectName("InputBox");
    dialog.setWindowTitle(q(title));
    dialog.setLabelText(message(prompt));
    dialog.setTextValue(q(value));
    dialog.setOkButtonText("OK");
    dialog.setCancelButtonText("Abbrechen");
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return u(dialog.textValue());
}

TextWindow* QtDialogs::textWindow() {
    if (!m_textWindow) m_textWindow = new TextWindow(*this, m_tones, m_parent);
    return m_textWindow;
}

std::string QtDialogs::editText(const std::string& title, const std::string& text) {
    const QFont font = m_textFont ? m_textFont() : QFont("Courier New", 12);
    return u(textWindow()->editText(q(title), q(text), font));
}

void QtDialogs::showText(const std::string& title, const std::string& text) {
    const QFont font = m_textFont ? m_textFont() : QFont("Courier New", 12);
    textWindow()->showText(q(title), q(text), font, true);
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
    QDialog dialog(m_parent);
    dialog.setObjectName("confirmText");
    dialog.setWindowTitle(q(caption));
    auto* layout = new QVBoxLayout(&dialog);
    const QFont font = m_textFont ? m_textFont() : QFont("Courier New", 12);
    QPlainTextEdit* lowerView = nullptr;
    for (const std::string* text : {&upper, &lower}) {
        auto* view = new QPlainTextEdit(message(*text), &dialog);
        view->setReadOnly(text == &upper || !edited);
        view->setFont(font);
        layout->addWidget(view);
        lowerView = view;
    }
    lowerView->setObjectName("lowerText");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText("Abbrechen");
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(900, 650);
    if (edited) lowerView->setFocus();
    const bool ok = dialog.exec() == QDialog::Accepted;
    if (ok && edited) *edited = u(lowerView->toPlainText());
    return ok;
}

namespace {

// The file dialogs of loading and saving, with the program's filters and a size
// at which the columns can be read.
QString runFileDialog(QWidget* parent, const QString& title, const QString& start, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, title, start);
    dialog.setObjectName(mode == QFileDialog::AcceptOpen ? "OpenDialog1" : "SaveDialog1");
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters({"Alle Dateien (*.*)", "HTML-Dateien (*.html)", "HTML-Dateien (*.htm)", "Textdateien (*.txt)"});
    // No question before overwriting: the day backup keeps the old file.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.resize(900, 600);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

}  // namespace

std::optional<std::string> QtDialogs::chooseOpenFile(const std::string& title, const std::string& folder) {
    const QString path = runFileDialog(m_parent, q(title), q(folder), QFileDialog::AcceptOpen);
    if (path.isEmpty()) return std::nullopt;
    return platform::localPath(path);
}

std::optional<std::string> QtDialogs::chooseSaveFile(const std::string& title, const std::string& path) {
    const QString chosen = runFileDialog(m_parent, q(title), q(path), QFileDialog::AcceptSave);
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
    QString chosen = QFileDialog::getExistingDirectory(m_parent, q(title), q(folder));
    if (chosen.isEmpty()) return std::nullopt;
    return platform::localPath(chosen);
}

std::optional<FontSpec> QtDialogs::chooseFont(const FontSpec& current) {
    bool ok = false;
    // Preselected as the font really drawn ("Courier New" may stand for Liberation Mono).
    QFont start = fontFromSpec(current);
    start.setFamily(QFontInfo(start).family());
    QFont font = QFontDialog::getFont(&ok, start, m_parent, "Schrift");
    if (!ok) return std::nullopt;
    return specFromFont(font);
}

std::optional<std::uint32_t> QtDialogs::chooseColour(std::uint32_t current) {
    QColor colour = QColorDialog::getColor(colourFromWindows(current), m_parent, "Farbe");
    if (!colour.isValid()) return std::nullopt;
    return colourToWindows(colour);
}

CancelWindow* QtDialogs::cancelWindow() {
    if (!m_cancelWindow) m_cancelWindow = new CancelWindow(m_parent);
    return m_cancelWindow;
}

void QtDialogs::beginCancelWindow(const std::string& text) { cancelWindow()->begin(q(text)); }

bool QtDialogs::stepCancelWindow(const std::string& text) { return cancelWindow()->step(q(text)); }

void QtDialogs::endCancelWindow() {
    if (m_cancelWindow) m_cancelWindow->end();
}

bool QtDialogs::cancelWindowVisible() const { return m_cancelWindow && m_cancelWindow->isVisible(); }

void QtDialogs::requestCancel() {
    if (m_cancelWindow) m_cancelWindow->requestCancel();
}

}  // namespace pictra::ui
