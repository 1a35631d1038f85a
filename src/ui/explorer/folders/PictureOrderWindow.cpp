#include "PictureOrderWindow.h"

#include <QCloseEvent>
#include <QDate>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Dialogs.h"
#include "common/MenuCommands.h"
#include "common/PathNames.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/MarkedFiles.h"

namespace pictra::ui {

namespace {

constexpr const char* kHint =
    "Wenn Sie verschieden Bildthemen haben, so nennen Sie sie abschnittsweise um: Wählen Sie die Bilder eines Themas "
    "aus und nummerieren Sie sie über das Menü der Liste (rechte Maustaste) mit \"Ausgewählte Dateien umbenennen\" und "
    "einem eigenen Namen vor den Ziffern.";
constexpr const char* kNoPictures = "Keine Bilddateien (.gif .jpg .jpeg . bmp .png) im ausgewählten Ordner!";

QString shown(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }
std::string bytes(const QString& text) { return QFile::encodeName(text).toStdString(); }

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

}  // namespace

PictureOrderWindow::PictureOrderWindow(const std::string& folder, ExplorerShared& shared, std::function<void()> closed,
                                       QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_folder(folder),
      m_shared(shared),
      m_closed(std::move(closed)),
      m_cache(QSize(200, 150)) {
    setObjectName("Form10umb");
    setWindowTitle("Bilddateien umbenennen");
    setAttribute(Qt::WA_DeleteOnClose);
    buildLayout();
    resize(900, 640);
}

void PictureOrderWindow::buildLayout() {
    auto* outer = new QVBoxLayout(this);
    m_panel = new QWidget(this);
    m_panel->setObjectName("Panel1");
    m_panel->setAutoFillBackground(true);
    QPalette p = m_panel->palette();
    p.setColor(QPalette::Window, QColor(0x00, 0x4E, 0x98));
    p.setColor(QPalette::WindowText, Qt::white);
    m_panel->setPalette(p);
    m_panel->setCursor(Qt::SizeAllCursor);
    m_panel->installEventFilter(this);
    auto* panel = new QHBoxLayout(m_panel);
    panel->addWidget(new QLabel("Bilddateien umbenennen", m_panel));
    m_folderEdit = new QLineEdit(m_panel);
    m_folderEdit->setObjectName("Edit1");
    m_folderEdit->setReadOnly(true);
    panel->addWidget(m_folderEdit, 1);
    outer->addWidget(m_panel);

    auto* body = new QHBoxLayout;
    auto* lists = new QGridLayout;
    lists->addWidget(new QLabel("Reihenfolge bisher", this), 0, 0);
    lists->addWidget(new QLabel("Reihenfolge geplant", this), 0, 1);
    m_before = new QListWidget(this);
    m_before->setObjectName("ListBox1");
    m_planned = new QListWidget(this);
    m_planned->setObjectName("ListBox2");
    for (QListWidget* list : {m_before, m_planned}) {
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QListWidget::currentRowChanged, this, [this](int row) { selected(row); });
    }
    buildListMenu(m_before, "PopupMenu1");
    buildListMenu(m_planned, "PopupMenu2");
    lists->addWidget(m_before, 1, 0);
    lists->addWidget(m_planned, 1, 1);
    body->addLayout(lists, 3);

    auto* right = new QVBoxLayout;
    auto* boxes = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        auto* box = new PictureBox(QString("Image%1").arg(i + 1), this);
        boxes->addWidget(box, i / 2, i % 2);
        m_boxes.push_back(box);
    }
    right->addLayout(boxes, 1);
    m_name = new QLineEdit(this);
    m_name->setObjectName("Edit2");
    m_name->setReadOnly(true);
    right->addWidget(m_name);
    auto* renameRow = new QHBoxLayout;
    QPushButton* rename = button("Umbenennen in", "BUmbenennen", this);
    m_newName = new QLineEdit(this);
    m_newName->setObjectName("Edit3");
    renameRow->addWidget(rename);
    renameRow->addWidget(m_newName, 1);
    right->addLayout(renameRow);
    auto* buttons = new QHBoxLayout;
    QPushButton* update = button("Aktualisieren", "BAktualisieren", this);
    QPushButton* close = button("Schließen", "BSchliessen", this);
    QPushButton* hint = button("Hinweis", "BHinweis", this);
    QPushButton* cancel = button("Abbrechen", "BAbbrechen", this);
    for (QPushButton* b : {update, close, hint, cancel}) buttons->addWidget(b);
    right->addLayout(buttons);
    body->addLayout(right, 4);
    outer->addLayout(body, 1);

    connect(rename, &QPushButton::clicked, this, [this] { planTyped(); });
    connect(m_newName, &QLineEdit::returnPressed, this, [this] { planTyped(); });
    connect(update, &QPushButton::clicked, this, [this] { apply(); });
    connect(close, &QPushButton::clicked, this, [this] {
        apply();
        this->close();
    });
    connect(hint, &QPushButton::clicked, this, [this] { m_shared.dialogs.inform(kHint); });
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
}

QMenu* PictureOrderWindow::buildListMenu(QListWidget* list, const char* name) {
    auto* menu = new QMenu(this);
    menu->setObjectName(name);
    const QString suffix = list == m_before ? "1" : "2";
    addMenuCommand(menu, ("AlleUmbenennen" + suffix).toUtf8().constData(), "Alle Dateien umbenennen",
                   [this, list] { number(list, true); });
    addMenuCommand(menu, ("AusgewaehlteUmbenennen" + suffix).toUtf8().constData(), "Ausgewählte Dateien umbenennen",
                   [this, list] { number(list, false); });
    addMenuCommand(menu, ("AusgewaehlteLoeschen" + suffix).toUtf8().constData(), "Ausgewählte Dateien löschen",
                   [this, list] { deleteSelected(list); });
    connect(list, &QWidget::customContextMenuRequested, this,
            [menu, list](const QPoint& at) { menu->popup(list->viewport()->mapToGlobal(at)); });
    return menu;
}

bool PictureOrderWindow::load() {
    m_folderEdit->setText(shown(m_folder));
    m_entries.clear();
    for (const auto& name : folders::pictureNames(m_folder)) m_entries.push_back({name, name});
    m_before->clear();
    m_current = -1;
    if (m_entries.empty()) {
        m_planned->clear();
        m_shared.dialogs.inform(kNoPictures);
        return false;
    }
    for (const auto& entry : m_entries) m_before->addItem(shown(entry.name));
    refillPlanned();
    return true;
}

void PictureOrderWindow::refillPlanned() {
    const int row = m_planned->currentRow();
    m_planned->clear();
    for (const auto& entry : m_entries) m_planned->addItem(shown(folders::plannedLine(entry)));
    if (row >= 0 && row < m_planned->count()) m_planned->setCurrentRow(row);
}

void PictureOrderWindow::selected(int row) {
    if (row < 0 || row >= static_cast<int>(m_entries.size()) || row == m_current) return;
    m_current = row;
    m_name->setText(shown(m_entries[row].name));
    m_boxes[m_nextBox]->showPicture(m_folder + "/" + m_entries[row].name, m_cache);
    m_nextBox = (m_nextBox + 1) % static_cast<int>(m_boxes.size());
    std::vector<std::string> ahead;
    for (int step : {1, -1, 2})
        if (row + step >= 0 && row + step < static_cast<int>(m_entries.size()))
            ahead.push_back(m_folder + "/" + m_entries[row + step].name);
    m_cache.prefetch(ahead);
}

void PictureOrderWindow::planTyped() {
    if (m_current < 0) return;
    if (folders::planName(m_entries, static_cast<std::size_t>(m_current), bytes(m_newName->text().trimmed()),
                          m_shared.dialogs)) {
        refillPlanned();
    }
}

void PictureOrderWindow::apply() {
    folders::applyPlannedNames(m_folder, m_entries, pathnames::folderOf(m_shared.binFolder), m_shared.dialogs);
    load();
}

void PictureOrderWindow::number(QListWidget* list, bool all) {
    std::vector<std::string> names;
    for (int row = 0; row < list->count() && row < static_cast<int>(m_entries.size()); ++row) {
        if (all || list->item(row)->isSelected()) names.push_back(m_entries[row].name);
    }
    if (names.empty()) return;
    if (all && m_shared.dialogs.ask("Wirklich alle Dateien neu durchnummerieren?") != Answer::Yes) return;
    folders::numberPictures(m_folder, names, pathnames::folderOf(m_shared.binFolder), m_shared.dialogs);
    load();
}

void PictureOrderWindow::deleteSelected(QListWidget* list) {
    std::vector<std::string> paths;
    for (int row = 0; row < list->count() && row < static_cast<int>(m_entries.size()); ++row)
        if (list->item(row)->isSelected()) paths.push_back(m_folder + "/" + m_entries[row].name);
    if (paths.empty()) return;
    CopyContext context = m_shared.copyContext();
    const QDate day = QDate::currentDate();
    explorer::moveToBin(paths, context, {day.year(), day.month(), day.day()});
    load();
}

bool PictureOrderWindow::eventFilter(QObject* watched, QEvent* event) {
    // The window has no frame: its top panel moves it.
    if (watched == m_panel) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_dragFrom = static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - frameGeometry().topLeft();
        } else if (event->type() == QEvent::MouseMove) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->buttons() & Qt::LeftButton) move(mouse->globalPosition().toPoint() - m_dragFrom);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PictureOrderWindow::closeEvent(QCloseEvent* event) {
    if (m_closed) m_closed();
    QWidget::closeEvent(event);
}

}  // namespace pictra::ui
