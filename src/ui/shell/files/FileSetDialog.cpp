#include "shell/files/FileSetDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Dialogs.h"
#include "common/Placement.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "shell/FileSets.h"

namespace pictra::ui {

FileSetDialog::FileSetDialog(Dialogs& dialogs, std::function<std::string(int)> documentName, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_documentName(std::move(documentName)) {
    setObjectName("Form7");
    setWindowTitle("Makro ändern");
    auto* layout = new QVBoxLayout(this);
    m_number = new QLabel("Nr des Makros", this);
    m_number->setObjectName("LNummer");
    layout->addWidget(m_number);
    layout->addWidget(new QLabel("Name dess Makros", this));
    m_name = new QLineEdit(this);
    m_name->setObjectName("EName");
    layout->addWidget(m_name);
    layout->addWidget(new QLabel("Dateien, die automatisch eingelesen werden sollen", this));
    m_list = new QPlainTextEdit(this);
    m_list->setObjectName("MDateien");
    layout->addWidget(m_list, 1);
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    const auto button = [this, buttons](const char* name, const QString& text, std::function<void()> act) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [act = std::move(act)] { act(); });
    };
    button("BEntfernen", "Dateien entfernen", [this] {
        m_dialogs.inform("Dateien entfernen:\rEinfach die Einträge löschen\r\rDateien zufügen\r1. Möglichkeit: Einträge "
                         "von Hand ergänzen\r2. und 3. Möglichkeit: Ensprechend anklicken");
    });
    button("BZufuegen", "Datei zufügen", [this] {
        if (auto path = m_dialogs.chooseOpenFile("Datei zufügen", "")) m_list->appendPlainText(q(*path));
    });
    button("BEingelesene", "Bereits eingelesene Dateien zufügen", [this] {
        long long n = 1;
        if (!m_dialogs.askNumber("Dateipfad zufügen", "Geben Sie die Nummer des Arbeitsblattes an", n)) return;
        const std::string name = m_documentName(static_cast<int>(n));
        if (name.empty()) {
            m_dialogs.inform("Nicht vorhanden");
            return;
        }
        m_list->appendPlainText(q(name));
    });
    button("BOrdnen", "Dateien alphabetisch ordnen",
           [this] { m_list->setPlainText(q(filesets::sortedList(u(m_list->toPlainText())))); });
    button("BOK", "OK", [this] { accept(); });
    button("BAbbrechen", "Abbrechen", [this] { reject(); });
    resizeOnScreen(this, QSize(700, 450));
}

void FileSetDialog::fill(int number, const std::string& name, const std::string& files) {
    m_number->setText(QString::number(number) + ". Makro");
    m_name->setText(q(name));
    m_list->setPlainText(q(files));
}

int FileSetDialog::number() const {
    std::string digits;
    for (QChar c : m_number->text()) {
        if (c.isDigit()) digits += static_cast<char>(c.toLatin1());
    }
    return static_cast<int>(text::toIntDef(digits, 0));
}

std::string FileSetDialog::name() const { return u(m_name->text()); }
std::string FileSetDialog::files() const { return u(m_list->toPlainText()); }

}  // namespace pictra::ui
