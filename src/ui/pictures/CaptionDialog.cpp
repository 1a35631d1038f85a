#include "CaptionDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>
#include <unistd.h>

#include "common/Dialogs.h"
#include "common/FileIo.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "platform/pictures/CaptionDrawing.h"
#include "settings/SettingsStore.h"

namespace pictra::ui {

namespace cap = pictures::captions;

namespace {

QColor fromBgr(cap::BgrColour c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>(c >> 8 & 0xFF), static_cast<int>(c >> 16 & 0xFF));
}

}  // namespace

cap::CaptionStyle captionDefaults(const SettingsStore& store) {
    cap::CaptionStyle s;
    s.size = static_cast<int>(text::toIntDef(store.readValue("Einstellungen", "JP0Schriftgröße"), 12));
    if (s.size < 6) s.size = 12;
    s.font = static_cast<cap::BgrColour>(text::toIntDef(store.readValue("Einstellungen", "JP0Schriftfarbe"), 0x000000));
    s.background =
        static_cast<cap::BgrColour>(text::toIntDef(store.readValue("Einstellungen", "JP0Hintergrundfarbe"), 0xFFFFFF));
    return s;
}

CaptionDialog::CaptionDialog(QWidget* parent, const SettingsStore& store, Dialogs& dialogs,
                             const std::string& picturePath)
    : QDialog(parent), m_dialogs(dialogs), m_path(cap::captionPathFor(picturePath)), m_style(captionDefaults(store)) {
    setObjectName("TForm6textInBild");
    setWindowTitle("Bild wird beschriftet");
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName("Memo1");
    m_sample = new QLabel("ABCabc", this);
    m_sample->setObjectName("LTitel");
    m_sample->setAutoFillBackground(true);
    m_transparent = new QCheckBox("transparent", this);
    m_transparent->setObjectName("CBtransparent");
    auto* note = new QLabel("Bei vollem Bild wird folgender Text eingeblendet.", this);
    auto* explanation = new QPlainTextEdit(this);
    explanation->setObjectName("Memo2");
    explanation->setReadOnly(true);
    explanation->setPlainText("Sie können hier für jedes Bild mit Klick auf die rechte Maustaste einen  (mehrzeiligen)\n"
                              "Titel eingeben. Der Text wird in einer separaten Datei (Endung .jp0) gespeichert mit\n"
                              "Informationen über (Größe), [Farbe] und {Hintergrundfarbe}. ");
    explanation->setMaximumHeight(70);
    auto button = [this](const char* name, const char* text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        return b;
    };
    QPushButton* font = button("BSchrift", "Schrift");
    QPushButton* background = button("BHintergrund", "Hintergrund");
    QPushButton* close = button("BSchliessen", "Schliessen");
    QPushButton* cancel = button("BAbbrechen", "Abbrechen");
    connect(font, &QPushButton::clicked, this, [this] {
        FontSpec offered;
        offered.name = "Arial";
        offered.size = m_style.size;
        const auto chosen = m_dialogs.chooseFont(offered);
        if (!chosen) return;
        m_style.size = std::clamp(chosen->size, 1, 255);
        if (const auto colour = m_dialogs.chooseColour(m_style.font)) m_style.font = *colour & 0xFFFFFF;
        applyStyle();
    });
    connect(background, &QPushButton::clicked, this, [this] {
        const cap::BgrColour now = m_style.background == cap::kTransparent ? 0xFFFFFF : m_style.background;
        if (const auto colour = m_dialogs.chooseColour(now)) m_style.background = *colour & 0xFFFFFF;
        m_transparent->setChecked(false);
        applyStyle();
    });
    connect(close, &QPushButton::clicked, this, &CaptionDialog::saveAndClose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // A caption file there that cannot be read (another user's, say) is never
    // replaced or deleted by what this dialog shows, which is not its content.
    std::error_code ec;
    m_unreadable = std::filesystem::is_regular_file(m_path, ec) && ::access(m_path.c_str(), R_OK) != 0;
    // Each line's style goes to the sample in turn, so the last line's is the dialog's.
    QStringList lines;
    for (const std::string& line : platform::pictures::readCaptionLines(picturePath)) {
        const cap::CaptionLine parsed = cap::parseCaptionLine(line, m_style);
        m_style = parsed.style;
        lines << fromCp1252(parsed.text);
    }
    if (m_style.background == cap::kTransparent) {
        m_transparent->setChecked(true);
        m_style.background = 0xFFFFFF;
    }
    m_memo->setPlainText(lines.join('\n'));
    applyStyle();

    auto* layout = new QGridLayout(this);
    layout->addWidget(note, 0, 0, 1, 4);
    layout->addWidget(m_memo, 1, 0, 1, 4);
    layout->addWidget(m_sample, 2, 0);
    layout->addWidget(m_transparent, 2, 1);
    layout->addWidget(font, 3, 0);
    layout->addWidget(background, 3, 1);
    layout->addWidget(close, 3, 2);
    layout->addWidget(cancel, 3, 3);
    layout->addWidget(explanation, 4, 0, 1, 4);
    resize(620, 360);
}

void CaptionDialog::applyStyle() {
    for (QWidget* w : {static_cast<QWidget*>(m_memo), static_cast<QWidget*>(m_sample)}) {
        QFont f = w->font();
        f.setFamily("Arial");
        f.setPixelSize(std::max(1, platform::pictures::pixelsForPoints(m_style.size)));
        w->setFont(f);
        QPalette p = w->palette();
        p.setColor(QPalette::Text, fromBgr(m_style.font));
        p.setColor(QPalette::WindowText, fromBgr(m_style.font));
        p.setColor(QPalette::Base, fromBgr(m_style.background));
        p.setColor(QPalette::Window, fromBgr(m_style.background));
        w->setPalette(p);
    }
}

void CaptionDialog::saveAndClose() {
    QString lost;
    const std::string text = toCp1252(m_memo->toPlainText(), &lost);
    if (!lost.isEmpty() &&
        m_dialogs.ask("Die Zeichen \"" + u(lost) + "\" gibt es in Windows-1252 nicht.\rTrotzdem mit \"?\" an ihrer Stelle "
                      "speichern?") != Answer::Yes) {
        return;  // the dialog stays open with everything typed
    }
    if (m_unreadable) {
        m_dialogs.inform("Die Datei \"" + m_path + "\" kann nicht gelesen werden und bleibt, wie sie ist.\rNicht gespeichert!");
        return;  // the dialog stays open with everything typed
    }
    cap::CaptionStyle style = m_style;
    if (m_transparent->isChecked()) style.background = cap::kTransparent;
    const std::string bytes = cap::captionFileBytes(cap::splitCaptionLines(text), style);
    std::error_code ec;
    bool saved = true;
    if (bytes.empty()) {
        if (std::filesystem::is_regular_file(m_path, ec)) std::filesystem::remove(m_path, ec);
        saved = !ec;
    } else {
        saved = fileio::writeFile(m_path, bytes, false) == fileio::WriteResult::Written;
    }
    if (!saved) {
        // What was typed stays in the dialog, to be copied or saved again.
        m_dialogs.inform("Nicht gespeichert!");
        return;
    }
    accept();
}

}  // namespace pictra::ui
