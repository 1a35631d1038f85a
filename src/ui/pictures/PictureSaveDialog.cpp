#include "PictureSaveDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "common/PathNames.h"
#include "common/UiText.h"

namespace pictra::ui {

namespace {

QLineEdit* edit(QWidget* parent, const char* name, const std::string& text) {
    auto* e = new QLineEdit(q(text), parent);
    e->setObjectName(name);
    return e;
}

}  // namespace

PictureSaveDialog::PictureSaveDialog(const PictureSaveOptions& options, QWidget* parent)
    : QDialog(parent), m_folder(pathnames::folderOf(options.currentPath)) {
    setObjectName("TForm18speichern");
    setWindowTitle("Speichern ...");
    const std::string& currentPath = options.currentPath;
    const std::string ext = pathnames::lowerExtension(currentPath);
    const std::string name = pathnames::fileNamePart(currentPath);
    const std::string base = currentPath.empty()         ? "x"
                             : !options.baseName.empty() ? options.baseName
                                                         : name.substr(0, name.size() - ext.size());
    auto* layout = new QVBoxLayout(this);
    auto* where = new QGroupBox("Speichern unter", this);
    auto* grid = new QGridLayout(where);
    m_targets = new QButtonGroup(this);
    const auto radio = [this, where, grid](int id, const QString& text, int row) {
        auto* r = new QRadioButton(text, where);
        m_targets->addButton(r, id);
        grid->addWidget(r, row, 0);
        return r;
    };
    radio(1, "im selben Ordner", 0);
    m_same = edit(where, "Edit1", base);
    grid->addWidget(m_same, 0, 1);
    radio(2, "mit Unterstrich am Anfang", 1)
        ->setToolTip("Die Dateien mit Unterstrich am Anfang werden im Explorer zuoberst aufgelistet");
    m_underscore = edit(where, "Edit2", "_" + base);
    grid->addWidget(m_underscore, 1, 1);
    radio(3, "in einem Unterordner", 2);
    m_subfolder = edit(where, "Eunterordner", m_folder + "/a");
    m_subName = edit(where, "Eunter", base);
    grid->addWidget(m_subfolder, 2, 1);
    grid->addWidget(m_subName, 2, 2);
    radio(4, "in einem anderen Ordner", 3);
    m_otherFolder = edit(where, "Eneu", options.explorerFolder);
    m_otherName = edit(where, "Edit4", base);
    auto* browse = new QPushButton("Ordner suchen", where);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getExistingDirectory(this, "Ordner suchen", m_otherFolder->text());
        if (!chosen.isEmpty()) m_otherFolder->setText(chosen);
    });
    grid->addWidget(m_otherFolder, 3, 1);
    grid->addWidget(m_otherName, 3, 2);
    grid->addWidget(browse, 3, 3);
    m_targets->button(currentPath.empty() ? 4 : 1)->setChecked(true);
    layout->addWidget(where);

    auto* format = new QGroupBox("Format", this);
    format->setObjectName("RadioGroup1");
    auto* formatRow = new QHBoxLayout(format);
    m_formats = new QButtonGroup(this);
    int preset = 0;
    const char* formats[] = {".jpg", ".bmp", ".gif", ".png"};
    for (int i = 0; i < 4; ++i) {
        auto* r = new QRadioButton(formats[i], format);
        m_formats->addButton(r, i);
        formatRow->addWidget(r);
        if (ext == formats[i]) preset = i;
    }
    m_formats->button(preset)->setChecked(true);
    layout->addWidget(format);

    auto* fixedRow = new QHBoxLayout;
    m_fixed = new QCheckBox("Mit fester Höhe", this);
    m_fixed->setObjectName("CBfesteHoehe");
    m_fixed->setChecked(options.fixedHeight);
    m_height = new QSpinBox(this);
    m_height->setObjectName("SpinEdit1");
    m_height->setRange(1, 100000);
    m_height->setValue(std::max(1, options.displayHeight));
    fixedRow->addWidget(m_fixed);
    fixedRow->addWidget(m_height);
    layout->addLayout(fixedRow);
    auto* commands = new QHBoxLayout;
    const auto command = [this, commands](const char* objectName, const QString& text, std::function<bool()> run) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(objectName);
        b->setAutoDefault(false);
        commands->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, run = std::move(run)] {
            if (run && run()) done(Handled);
        });
    };
    command("BKopieren", "Bild (unverändert) kopieren",
            [this, copy = options.copyUnchanged] { return copy && copy(targetBase()); });
    command("BZwischenablage", "In die Zwischenablage kopieren", options.toClipboard);
    command("BVormerken", "Bild vormerken", options.keepAsExtra);
    layout->addLayout(commands);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("Speichern", QDialogButtonBox::AcceptRole);
    buttons->addButton("Abbrechen", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

// The chosen folder and base name, without an extension.
std::string PictureSaveDialog::targetBase() const {
    switch (m_targets->checkedId()) {
        case 2: return m_folder + "/" + u(m_underscore->text());
        case 3: return u(m_subfolder->text()) + "/" + u(m_subName->text());
        case 4: return u(m_otherFolder->text()) + "/" + u(m_otherName->text());
        default: return m_folder + "/" + u(m_same->text());
    }
}

PictureSaveChoice PictureSaveDialog::choice() const {
    const std::string ext = u(m_formats->checkedButton()->text());
    return {targetBase() + ext, m_fixed->isChecked() ? m_height->value() : 0};
}

bool PictureSaveDialog::fixedHeightTicked() const { return m_fixed->isChecked(); }

}  // namespace pictra::ui
