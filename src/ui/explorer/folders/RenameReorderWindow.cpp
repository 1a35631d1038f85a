#include "RenameReorderWindow.h"

#include <QCloseEvent>
#include <QDate>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "common/Dialogs.h"
#include "common/MenuCommands.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/MarkedFiles.h"
#include "explorer/folders/PictureRenaming.h"

namespace pictra::ui {

namespace {

constexpr int kNameRole = Qt::UserRole;
constexpr const char* kTip =
    "Empfehlung\rNummerieren Sie Ihre Dateigruppen auch am Anfang, z.B. \"01urlaub\", \"02geburtstag\", damit die "
    "Gruppen in dieser Reihenfolge stehen. Innerhalb einer Gruppe zählt das Programm selbst weiter (01, 02, ...).";
constexpr const char* kNoPictures = "Keine Bilddateien (.gif .jpg .jpeg . bmp .png) im ausgewählten Ordner!";

QString shown(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }
std::string bytes(const QString& text) { return QFile::encodeName(text).toStdString(); }

}  // namespace

RenameReorderWindow::RenameReorderWindow(const std::string& folder, ExplorerShared& shared,
                                         std::function<void()> closed, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_folder(folder),
      m_shared(shared),
      m_closed(std::move(closed)),
      m_cache(QSize(600, 300)) {
    setObjectName("Form10umb2");
    setWindowTitle("Dateien umbenennen und umordnen");
    setAttribute(Qt::WA_DeleteOnClose);
    buildLayout();
    buildMenu();
    const QRect screen = (parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen())->availableGeometry();
    const int width = std::min(1000, screen.width() - 20);
    setGeometry(screen.left() + (screen.width() - width) / 2, screen.top(), width, screen.height() - 100);
}

void RenameReorderWindow::buildLayout() {
    auto* outer = new QVBoxLayout(this);
    auto* controls = new QHBoxLayout;
    m_stem = new QLineEdit(this);
    m_stem->setObjectName("Eneu");
    auto* rename = new QPushButton("Ausgwählte Datei(en) umbenennen in ...", this);
    rename->setObjectName("BUmbenennen");
    auto* tip = new QPushButton("Tipp", this);
    tip->setObjectName("BTipp");
    auto* close = new QPushButton("Schließen", this);
    close->setObjectName("BSchliessen");
    controls->addWidget(rename);
    controls->addWidget(m_stem, 1);
    controls->addWidget(tip);
    controls->addWidget(close);
    outer->addLayout(controls);

    auto* body = new QHBoxLayout;
    m_list = new QListWidget(this);
    m_list->setObjectName("ListBox1");
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->viewport()->installEventFilter(this);
    m_list->setMinimumWidth(300);
    body->addWidget(m_list, 2);
    auto* right = new QVBoxLayout;
    m_first = new PictureBox("Image1", this);
    m_second = new PictureBox("Image2", this);
    right->addWidget(m_first, 1);
    right->addWidget(m_second, 1);

    m_fine = new QWidget(this);
    m_fine->setObjectName("PFeinabstimmung");
    auto* fine = new QVBoxLayout(m_fine);
    fine->addWidget(new QLabel("Feinabstimmung: Ändern Sie  die Namen, falls gewünscht", m_fine));
    fine->addWidget(new QLabel("Die Extention (z.B. \".jpg\" nicht angeben!", m_fine));
    m_fineLines = new QPlainTextEdit(m_fine);
    m_fineLines->setObjectName("MFeinabstimmung");
    fine->addWidget(m_fineLines, 1);
    auto* fineButtons = new QHBoxLayout;
    auto* ok = new QPushButton("OK", m_fine);
    ok->setObjectName("BOk");
    auto* cancel = new QPushButton("Abbruch", m_fine);
    cancel->setObjectName("BAbbruch");
    fineButtons->addWidget(ok);
    fineButtons->addWidget(cancel);
    fine->addLayout(fineButtons);
    m_fine->hide();
    right->addWidget(m_fine, 2);
    body->addLayout(right, 3);
    outer->addLayout(body, 1);

    connect(rename, &QPushButton::clicked, this, [this] { startRenaming(); });
    connect(tip, &QPushButton::clicked, this, [this] { m_shared.dialogs.inform(kTip); });
    connect(close, &QPushButton::clicked, this, [this] { finish(); });
    connect(ok, &QPushButton::clicked, this, [this] { acceptFineTuning(); });
    connect(cancel, &QPushButton::clicked, m_fine, &QWidget::hide);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) { showInSecondBox(row); });
}

void RenameReorderWindow::buildMenu() {
    m_menu = new QMenu(this);
    m_menu->setObjectName("PopupMenu1");
    addMenuCommand(m_menu, "NameUebertragen1", "Name ins umbenennenfeld übetragen", [this] {
        const auto rows = selectedRows();
        if (rows.empty()) return;
        const std::string name = nameOf(rows.front());
        m_stem->setText(shown(name.substr(0, name.size() - pathnames::extensionOf(name).size())));
    });
    addMenuCommand(m_menu, "DateiLoeschen1", "Datei löschen", [this] { deleteSelected(); });
    addMenuCommand(m_menu, "AlleAlsJpg1", "Extender aller Dateien als .jpg", [this] {
        std::vector<std::string> names;
        for (int row = 0; row < m_list->count(); ++row)
            if (!nameOf(row).empty()) names.push_back(nameOf(row));
        folders::extensionsToJpg(m_folder, names, pathnames::folderOf(m_shared.binFolder), m_shared.dialogs);
        load();
    });
    addMenuCommand(m_menu, "Tipp1", "Tipp", [this] { m_shared.dialogs.inform(kTip); });
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(m_list->viewport()->mapToGlobal(at)); });
}

bool RenameReorderWindow::load() {
    m_names = folders::pictureNames(m_folder);
    m_list->clear();
    if (m_names.empty()) {
        m_shared.dialogs.inform(kNoPictures);
        return false;
    }
    for (const auto& name : m_names) {
        auto* item = new QListWidgetItem(shown(name), m_list);
        item->setData(kNameRole, QByteArray::fromStdString(name));
    }
    m_first->showPicture(pathOf(0), m_cache);
    m_second->showPicture(pathOf(m_list->count() - 1), m_cache);
    return true;
}

std::string RenameReorderWindow::nameOf(int row) const {
    const QListWidgetItem* item = m_list->item(row);
    return item ? item->data(kNameRole).toByteArray().toStdString() : std::string();
}

std::string RenameReorderWindow::pathOf(int row) const { return m_folder + "/" + nameOf(row); }

std::vector<int> RenameReorderWindow::selectedRows() const {
    std::vector<int> rows;
    for (int row = 0; row < m_list->count(); ++row)
        if (m_list->item(row)->isSelected()) rows.push_back(row);
    return rows;
}

void RenameReorderWindow::showInSecondBox(int row) {
    if (row < 0 || nameOf(row).empty()) return;
    m_second->showPicture(pathOf(row), m_cache);
    std::vector<std::string> ahead;
    for (int step : {1, -1, 2, -2, 3})
        if (row + step >= 0 && row + step < m_list->count() && !nameOf(row + step).empty()) ahead.push_back(pathOf(row + step));
    m_cache.prefetch(ahead);
}

bool RenameReorderWindow::eventFilter(QObject* watched, QEvent* event) {
    // While the button is held, the picture under the pointer.
    if (watched == m_list->viewport() && event->type() == QEvent::MouseMove) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->buttons() != Qt::NoButton) {
            if (QListWidgetItem* item = m_list->itemAt(mouse->position().toPoint())) showInSecondBox(m_list->row(item));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void RenameReorderWindow::startRenaming() {
    const std::string stem = bytes(m_stem->text().trimmed());
    if (stem.empty()) {
        m_shared.dialogs.inform(std::string("Bitte zuerst den neuen Namen(sstamm) eingeben\rBeachten Sie dabei den folgenden Tipp:\r") + kTip);
        return;
    }
    m_fineRows = selectedRows();
    if (m_fineRows.empty()) {
        m_shared.dialogs.inform(std::string("Bitte die Dateien, die umbenannt werden sollen, auswählen!\rBeachten Sie dabei den folgenden Tipp:\r") + kTip);
        return;
    }
    std::vector<std::string> names;
    for (int row : m_fineRows) names.push_back(nameOf(row));
    m_fineLines->setPlainText(shown(text::joinLines(folders::fineTuneLines(names, stem), "\n")));
    m_fine->show();
    m_fineLines->setFocus();
}

void RenameReorderWindow::acceptFineTuning() {
    const QStringList lines = m_fineLines->toPlainText().split('\n', Qt::SkipEmptyParts);
    for (std::size_t i = 0; i < m_fineRows.size() && i < static_cast<std::size_t>(lines.size()); ++i) {
        QListWidgetItem* item = m_list->item(m_fineRows[i]);
        const QString line = lines[static_cast<int>(i)].trimmed();
        // The line keeps its file: only what follows the arrow is the user's to change.
        const int arrow = line.indexOf("->");
        const QString name = shown(nameOf(m_fineRows[i]));
        item->setText(arrow < 0 ? name : name + "->" + line.mid(arrow + 2).trimmed());
    }
    m_fine->hide();
    checkDuplicates();
}

void RenameReorderWindow::checkDuplicates() {
    std::vector<std::string> lines;
    for (int row = 0; row < m_list->count(); ++row) lines.push_back(bytes(m_list->item(row)->text()));
    const std::string report = folders::duplicateReport(lines);
    if (!report.empty()) m_shared.dialogs.inform(report);
}

void RenameReorderWindow::deleteSelected() {
    std::vector<std::string> paths;
    const auto rows = selectedRows();
    for (int row : rows)
        if (!nameOf(row).empty()) paths.push_back(pathOf(row));
    if (paths.empty()) return;
    CopyContext context = m_shared.copyContext();
    const QDate day = QDate::currentDate();
    explorer::moveToBin(paths, context, {day.year(), day.month(), day.day()});
    for (int row : rows) {
        if (nameOf(row).empty() || QFile::exists(shown(pathOf(row)))) continue;
        QListWidgetItem* item = m_list->item(row);
        item->setText(shown(nameOf(row)) + " gelöscht");
        item->setData(kNameRole, QByteArray());
    }
}

void RenameReorderWindow::finish() {
    std::vector<std::string> lines;
    for (int row = 0; row < m_list->count(); ++row) {
        if (nameOf(row).empty()) continue;  // deleted
        lines.push_back(bytes(m_list->item(row)->text()));
    }
    if (!folders::applyLines(m_folder, lines, pathnames::folderOf(m_shared.binFolder), m_shared.dialogs)) return;
    close();
}

void RenameReorderWindow::closeEvent(QCloseEvent* event) {
    if (m_closed) m_closed();
    QWidget::closeEvent(event);
}

}  // namespace pictra::ui
