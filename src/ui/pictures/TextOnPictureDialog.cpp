#include "TextOnPictureDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextBlock>

#include "common/Dialogs.h"
#include "common/FileIo.h"
#include "common/UiText.h"
#include "pictures/captions/TextOnPicture.h"
#include "platform/pictures/CaptionDrawing.h"

namespace pictra::ui {

namespace cap = pictures::captions;

namespace {

const QString kNote1 = "Hier erscheint der Text Zeile für Zeile.";
const QString kNote2 = "Klick auf die Zeile holt den Text nach oben.";

QColor fromBgr(cap::BgrColour c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>(c >> 8 & 0xFF), static_cast<int>(c >> 16 & 0xFF));
}

// Windows-1252 cannot hold every character typed; the user decides before any is turned into "?".
bool acceptLoss(Dialogs& dialogs, const QString& lost, const std::string& consequence) {
    if (lost.isEmpty()) return true;
    return dialogs.ask("Die Zeichen \"" + u(lost) + "\" gibt es in Windows-1252 nicht.\r" + consequence) == Answer::Yes;
}

}  // namespace

TextOnPictureDialog::TextOnPictureDialog(QWidget* parent, Dialogs& dialogs, std::string historyFile)
    : QDialog(parent), m_dialogs(dialogs), m_historyFile(std::move(historyFile)) {
    setObjectName("TForm_text");
    setWindowTitle("Es gibt keine Überschrift");
    m_look.size = 20;
    auto named = [](QWidget* w, const char* name) {
        w->setObjectName(name);
        return w;
    };
    m_text = new QLineEdit(this);
    named(m_text, "Edit1");
    m_family = new QComboBox(this);
    named(m_family, "ComboBox1");
    m_family->addItems({"Arial", "Times New Roman", "Comic Sans MS", "Courier New", "Symbol"});
    m_size = new QSpinBox(this);
    named(m_size, "SpinEdit1");
    m_size->setRange(1, 255);
    m_size->setValue(m_look.size);
    m_bold = new QCheckBox("fett", this);
    named(m_bold, "CheckBox1");
    m_italic = new QCheckBox("kursiv", this);
    named(m_italic, "CheckBox2");
    m_underline = new QCheckBox("unterstrichen", this);
    named(m_underline, "CheckBox3");
    auto* colour = new QPushButton("Farbe", this);
    named(colour, "BFarbe");
    auto* background = new QPushButton("Hintergrund", this);
    named(background, "BHintergrund");
    m_transparent = new QCheckBox("Text transparent schreiben", this);
    named(m_transparent, "CheckBox4");
    m_threeD = new QCheckBox("Text 3D schreiben", this);
    named(m_threeD, "CheckBox5");
    m_slant = new QSpinBox(this);
    named(m_slant, "SpinEdit2");
    m_slant->setRange(-1000, 1000);
    auto* group = new QGroupBox("Text ausrichten", this);
    named(group, "RadioGroup1");
    auto* groupLayout = new QVBoxLayout(group);
    m_after = new QButtonGroup(this);
    const struct {
        const char* name;
        const char* text;
        After after;
    } choices[] = {{"RBschliessen", "Fenster nach  \"OK\" schließen", After::Close},
                   {"RBlinks", "links", After::Left},
                   {"RBoben", "oben", After::Top},
                   {"RBbeides", "beides", After::Both}};
    for (const auto& c : choices) {
        auto* radio = new QRadioButton(c.text, group);
        named(radio, c.name);
        m_after->addButton(radio, static_cast<int>(c.after));
        groupLayout->addWidget(radio);
    }
    m_after->button(static_cast<int>(After::Close))->setChecked(true);
    auto* writeButton = new QPushButton("Schreiben", this);
    named(writeButton, "BSchreiben");
    writeButton->setDefault(true);
    auto* showList = new QPushButton("Liste zeigen", this);
    named(showList, "BListeZeigen");
    auto* hideList = new QPushButton("Liste verbergen", this);
    named(hideList, "BListeVerbergen");
    m_memo = new QPlainTextEdit(this);
    named(m_memo, "Memo1");
    m_memo->viewport()->installEventFilter(this);
    m_memo->hide();

    connect(m_family, &QComboBox::currentTextChanged, this, [this] { applyLook(); });
    connect(m_size, &QSpinBox::valueChanged, this, [this] { applyLook(); });
    for (QCheckBox* box : {m_bold, m_italic, m_underline}) connect(box, &QCheckBox::toggled, this, [this] { applyLook(); });
    connect(colour, &QPushButton::clicked, this, [this] {
        if (const auto c = m_dialogs.chooseColour(m_look.colour)) m_look.colour = *c & 0xFFFFFF;
        applyLook();
    });
    connect(background, &QPushButton::clicked, this, [this] {
        if (const auto c = m_dialogs.chooseColour(m_look.background)) m_look.background = *c & 0xFFFFFF;
        applyLook();
    });
    connect(writeButton, &QPushButton::clicked, this, &TextOnPictureDialog::write);
    connect(showList, &QPushButton::clicked, this, [this] { showHistory(true); });
    connect(hideList, &QPushButton::clicked, this, [this] { showHistory(false); });

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_text, 0, 0, 1, 4);
    layout->addWidget(new QLabel("Schrift", this), 1, 0);
    layout->addWidget(m_family, 1, 1);
    layout->addWidget(new QLabel("Schriftgröße", this), 1, 2);
    layout->addWidget(m_size, 1, 3);
    layout->addWidget(m_bold, 2, 0);
    layout->addWidget(m_italic, 2, 1);
    layout->addWidget(m_underline, 2, 2);
    layout->addWidget(colour, 3, 0);
    layout->addWidget(background, 3, 1);
    layout->addWidget(new QLabel("schräg", this), 3, 2);
    layout->addWidget(m_slant, 3, 3);
    layout->addWidget(m_transparent, 4, 0, 1, 2);
    layout->addWidget(m_threeD, 4, 2, 1, 2);
    layout->addWidget(group, 5, 0, 1, 2);
    layout->addWidget(writeButton, 5, 2, 1, 2);
    layout->addWidget(showList, 6, 0, 1, 2);
    layout->addWidget(hideList, 6, 2, 1, 2);
    layout->addWidget(m_memo, 7, 0, 1, 4);

    if (const auto bytes = m_historyFile.empty() ? std::nullopt : fileio::readFile(m_historyFile)) {
        m_history = cap::historyLines(*bytes);
    }
    applyLook();
}

platform::pictures::TextLook TextOnPictureDialog::look() const {
    platform::pictures::TextLook look = m_look;
    look.family = u(m_family->currentText());
    look.size = m_size->value();
    look.bold = m_bold->isChecked();
    look.italic = m_italic->isChecked();
    look.underline = m_underline->isChecked();
    look.transparent = m_transparent->isChecked() || m_threeD->isChecked();
    look.threeD = m_threeD->isChecked();
    look.slant = m_slant->value();
    return look;
}

// `Edit1` shows the text as it will be written: font, size, colour and background.
void TextOnPictureDialog::applyLook() {
    const platform::pictures::TextLook l = look();
    QFont f(q(l.family));
    f.setPixelSize(platform::pictures::pixelsForPoints(l.size));
    f.setBold(l.bold);
    f.setItalic(l.italic);
    f.setUnderline(l.underline);
    m_text->setFont(f);
    QPalette p = m_text->palette();
    p.setColor(QPalette::Text, fromBgr(l.colour));
    p.setColor(QPalette::Base, fromBgr(l.background));
    m_text->setPalette(p);
}

void TextOnPictureDialog::openAt(QPoint global, TextTarget target) {
    m_target = std::move(target);
    move(global);
    show();
    raise();
    activateWindow();
    m_text->setFocus();
    m_text->selectAll();
}

void TextOnPictureDialog::write() {
    const QString text = m_text->text();
    pictures::Bitmap32* picture = m_target.picture ? m_target.picture() : nullptr;
    if (text.isEmpty() || !picture || picture->empty()) return;
    QString lost;
    const std::string remembered = toCp1252(text, &lost);
    if (!acceptLoss(m_dialogs, lost, "Im Bild stehen sie richtig, in der Liste mit \"?\" an ihrer Stelle. Trotzdem schreiben?")) {
        return;
    }
    if (m_memo->isVisible()) m_history = memoHistory();
    if (cap::addToHistory(m_history, remembered)) {
        if (m_memo->isVisible()) fillMemo();
        saveHistory(false);
    }
    const platform::pictures::TextLook l = look();
    const QPoint corner = pos() - (m_target.origin ? m_target.origin() : QPoint());
    const cap::TextPlace at = cap::textPlace(corner.x(), corner.y(), picture->height(), l.size);
    if (m_target.before) m_target.before();
    platform::pictures::writeText(*picture, text, l, at.x, at.y);
    if (m_target.written) m_target.written();
    const auto after = static_cast<After>(m_after->checkedId());
    if (after == After::Left && m_target.moveUp) m_target.moveUp(cap::lineStep(l.size));
    if (after == After::Close) {
        hide();
        return;
    }
    raise();
    activateWindow();
    m_text->setFocus();
    m_text->selectAll();
}

void TextOnPictureDialog::fillMemo() {
    QStringList lines{kNote1, kNote2};
    for (const std::string& line : m_history) lines << fromCp1252(line);
    m_memo->setPlainText(lines.join('\n'));
}

std::vector<std::string> TextOnPictureDialog::memoHistory() const {
    std::vector<std::string> lines;
    for (const QString& line : m_memo->toPlainText().split('\n')) {
        if (line == kNote1 || line == kNote2) continue;
        cap::addToHistory(lines, toCp1252(line));
    }
    return lines;
}

void TextOnPictureDialog::saveHistory(bool tell) {
    if (m_historyFile.empty()) return;
    if (fileio::writeFile(m_historyFile, cap::historyFileBytes(m_history), false) != fileio::WriteResult::Written &&
        tell) {
        m_dialogs.inform("Nicht gespeichert!");
    }
}

void TextOnPictureDialog::showHistory(bool show) {
    if (show) {
        if (m_memo->isVisible()) return;
        if (const auto bytes = m_historyFile.empty() ? std::nullopt : fileio::readFile(m_historyFile)) {
            m_history = cap::historyLines(*bytes);
        }
        fillMemo();
        m_memo->show();
        return;
    }
    if (!m_memo->isVisible()) return;
    QString lost;
    toCp1252(m_memo->toPlainText(), &lost);
    if (!acceptLoss(m_dialogs, lost, "Trotzdem mit \"?\" an ihrer Stelle speichern?")) return;
    m_history = memoHistory();
    saveHistory(true);
    m_memo->hide();
}

void TextOnPictureDialog::takeHistoryLine(int line) {
    const QString text = m_memo->document()->findBlockByNumber(line).text();
    if (text.isEmpty() || text == kNote1 || text == kNote2) return;
    m_text->setText(text);
}

bool TextOnPictureDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_memo->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        takeHistoryLine(m_memo->cursorForPosition(mouse->position().toPoint()).blockNumber());
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace pictra::ui
