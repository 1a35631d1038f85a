#include "RenameMoveDialog.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/Dialogs.h"
#include "common/FileIo.h"
#include "common/PathNames.h"
#include "common/UiText.h"
#include "explorer/fileops/NameRules.h"
#include "platform/pictures/PictureCodecs.h"
#include "platform/pictures/QtPictureCodecs.h"

namespace pictra::ui {

namespace {

// The program's blue ground, Windows colour 9981440 (blue in the high byte).
const QColor kBlueGround(0x00, 0x4E, 0x98);

constexpr const char* kExplanation =
    "Sie können die Datei hier umbenennen.\n"
    "Wenn Sie einen anderen Ordner angeben wird sie in diesen verschoben.\n"
    "Der Dateityp bleibt erhalten, es sei denn, Sie schreiben zum Dateinnahmen einen Punkt mit Typ.\n"
    "Doppelklick in der Liste ändert Dateinamen.";

}  // namespace

RenameMoveDialog::RenameMoveDialog(const std::string& path, SettingsStore& store, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_path(path), m_ownFolder(pathnames::folderOf(path)), m_store(store), m_dialogs(dialogs) {
    setObjectName("Form10a");
    setWindowTitle("Datei umbenennen oder verschieben");
    m_folders = fileops::renameFolders(m_ownFolder, store);
    buildLayout();
}

void RenameMoveDialog::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    auto* memo = new QPlainTextEdit(kExplanation, this);
    memo->setObjectName("Memo1");
    memo->setReadOnly(true);
    memo->setMaximumHeight(80);
    layout->addWidget(memo);

    auto* fromRow = new QHBoxLayout;
    fromRow->addWidget(new QLabel("von Ordner", this));
    m_from = new QLineEdit(q(m_ownFolder), this);
    m_from->setObjectName("Edit3");
    m_from->setReadOnly(true);
    fromRow->addWidget(m_from);
    layout->addLayout(fromRow);

    const std::string fileName = pathnames::fileNamePart(m_path);
    auto* fileRow = new QHBoxLayout;
    auto* oldName = new QLabel(q(fileName), this);
    oldName->setObjectName("Ldatei0");
    fileRow->addWidget(oldName);
    m_choice = new QLabel(this);
    m_choice->setObjectName("Lwird");
    fileRow->addWidget(m_choice);
    fileRow->addStretch();
    layout->addLayout(fileRow);

    auto* nameRow = new QHBoxLayout;
    m_name = new QLineEdit(q(fileops::baseNameOf(fileName)), this);
    m_name->setObjectName("Edit1");
    nameRow->addWidget(m_name);
    auto* extension = new QLabel(q(fileops::extensionOfName(fileName)), this);
    extension->setObjectName("Label2");
    nameRow->addWidget(extension);
    layout->addLayout(nameRow);

    auto* targetRow = new QHBoxLayout;
    targetRow->addWidget(new QLabel("in Ordner", this));
    m_target = new QComboBox(this);
    m_target->setObjectName("CBOrdner");
    m_target->setEditable(true);
    for (const auto& folder : m_folders) m_target->addItem(q(folder));
    m_target->setEditText(q(fileops::startFolder(m_ownFolder, m_store)));
    m_target->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* clear = new QAction("Einträge entfernen", m_target);
    clear->setObjectName("EintraegeEntfernen1");
    connect(clear, &QAction::triggered, this, [this] {
        const QString current = m_target->currentText();
        m_target->clear();
        m_folders.clear();
        m_target->setEditText(current);
    });
    m_target->addAction(clear);
    targetRow->addWidget(m_target, 1);
    auto* browse = new QPushButton("Durchsuchen", this);
    browse->setObjectName("BDurchsuchen");
    targetRow->addWidget(browse);
    auto* own = new QPushButton("=", this);
    own->setObjectName("BGleich");
    own->setToolTip("Eigener Ordner");
    targetRow->addWidget(own);
    layout->addLayout(targetRow);

    m_list = new QListWidget(this);
    m_list->setObjectName("ListBox1");
    layout->addWidget(m_list, 1);

    auto* group = new QGroupBox(this);
    group->setObjectName("RGloeschen");
    auto* groupLayout = new QVBoxLayout(group);
    m_rename = new QRadioButton("Originaldatei löschen und umbenennen", group);
    m_copy = new QRadioButton("Originaldatei beibehalten und kopieren", group);
    m_rename->setChecked(true);
    groupLayout->addWidget(m_rename);
    groupLayout->addWidget(m_copy);
    layout->addWidget(group);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton("Ok", this);
    ok->setObjectName("BOk");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Abbrechen", this);
    cancel->setObjectName("BAbbrechen");
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    m_preview = new QLabel(this);
    m_preview->setObjectName("Image1");
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFixedHeight(200);
    m_preview->hide();
    layout->addWidget(m_preview);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, [this] { chooseFolder(); });
    connect(own, &QPushButton::clicked, this, [this] { m_target->setEditText(q(m_ownFolder)); });
    connect(m_name, &QLineEdit::textEdited, this, [this] { relist(); });
    connect(m_target, &QComboBox::editTextChanged, this, [this] { relist(); });
    connect(m_rename, &QRadioButton::toggled, this, [this] { showChoice(); });
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { showPreview(u(item->text())); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_name->setText(q(fileops::baseNameOf(u(item->text()))));
    });
    m_name->selectAll();
    m_name->setFocus();
    showChoice();
    relist();
    resize(620, 560);
}

std::string RenameMoveDialog::targetFolder() const { return u(m_target->currentText()); }

void RenameMoveDialog::relist() {
    m_list->clear();
    for (const auto& name : fileops::filesBeginningWith(targetFolder(), u(m_name->text()))) m_list->addItem(q(name));
}

void RenameMoveDialog::showChoice() {
    const bool rename = m_rename->isChecked();
    m_choice->setText(rename ? "wird umbenannt" : "wird kopiert");
    m_choice->setStyleSheet(rename ? "color: red" : "color: green");
}

void RenameMoveDialog::chooseFolder() {
    if (auto folder = m_dialogs.chooseFolder("Ordner wählen", targetFolder())) m_target->setEditText(q(*folder));
}

// A reduced JPEG on the blue ground.
void RenameMoveDialog::showPreview(const std::string& name) {
    m_preview->hide();
    if (pathnames::lowerExtension(name) != ".jpg") return;
    const auto bytes = fileio::readFile(targetFolder() + "/" + name);
    if (!bytes) return;
    try {
        const auto picture = platform::pictures::decodeJpeg(*bytes, 2);
        const QImage image = platform::pictures::toQImage(picture.bitmap)
                                 .scaled(300, 200, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPixmap ground(300, 200);
        ground.fill(kBlueGround);
        QPainter painter(&ground);
        painter.drawImage((300 - image.width()) / 2, (200 - image.height()) / 2, image);
        painter.end();
        m_preview->setPixmap(ground);
        m_preview->show();
    } catch (const std::exception&) {
        // A picture that cannot be decoded gets no preview.
    }
}

std::optional<fileops::RenameMoveRequest> RenameMoveDialog::ask() {
    if (targetFolder() != m_ownFolder && m_dialogs.ask("Soll die Datei im selben Ordner bleiben?") == Answer::Yes) {
        m_target->setEditText(q(m_ownFolder));
    }
    if (exec() != QDialog::Accepted) return std::nullopt;
    fileops::rememberFolder(m_folders, m_ownFolder, targetFolder(), m_store);
    return fileops::RenameMoveRequest{m_path, targetFolder(), u(m_name->text()), m_copy->isChecked()};
}

}  // namespace pictra::ui
