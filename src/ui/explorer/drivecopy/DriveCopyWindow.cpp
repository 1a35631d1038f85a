#include "DriveCopyWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <filesystem>

#include "common/Dialogs.h"
#include "common/Text.h"
#include "common/UiText.h"
#include "platform/Drives.h"

namespace pictra::ui {

namespace {

QString local(const std::string& path) { return QString::fromStdString(path); }

// Leaving a field: the window reacts once the focus has gone elsewhere.
class LeaveFilter : public QObject {
public:
    LeaveFilter(QObject* parent, std::function<void()> left) : QObject(parent), m_left(std::move(left)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) m_left();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_left;
};

}  // namespace

DriveCopyWindow::DriveCopyWindow(Dialogs& dialogs, std::string home, std::string defaultTarget, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs), m_home(drivecopy::asFolder(std::move(home))),
      m_defaultTarget(defaultTarget.empty() ? std::string() : drivecopy::asFolder(std::move(defaultTarget))) {
    setObjectName("Form11xzuy");
    setWindowTitle("Laufwerk sichern");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_source = new QComboBox(this);
    m_source->setObjectName("Edit1");
    m_source->setEditable(true);
    m_source->addItem(local(m_home));
    for (const auto& drive : platform::mountedDrives()) {
        const QString root = local(drivecopy::asFolder(drive.root));
        if (m_source->findText(root) < 0) m_source->addItem(root);
    }
    m_source->setCurrentIndex(0);
    m_target = new QLineEdit(local(m_defaultTarget), this);
    m_target->setObjectName("Edit2");
    form->addRow("Ordner oder Laufwerk, das gesichert wird:", m_source);
    form->addRow("Sichern in den Ordner:", m_target);
    layout->addLayout(form);
    auto* note = new QLabel(drivecopy::kTargetNote, this);
    note->setObjectName("Label3");
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* listTitle = new QLabel("Folgende Ordner kopieren", this);
    layout->addWidget(listTitle);
    m_folders = new QPlainTextEdit(this);
    m_folders->setObjectName("Memo1");
    layout->addWidget(m_folders, 1);
    m_onlyNew = new QCheckBox("Nur neue Dateien übertragen", this);
    m_onlyNew->setObjectName("NurNeue");
    layout->addWidget(m_onlyNew);
    const auto label = [&](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(l);
        return l;
    };
    m_seen = label("Label5", "Erfasste Dateien: 0");
    m_copied = label("Label6", "Kopierte Dateien: 0");
    m_sourcePath = label("Lpfad1", "Datei:");
    m_targetPath = label("Lpfad2", "Datei:");
    m_state = label("LStand", QString());
    QFont bold = m_state->font();
    bold.setBold(true);
    m_state->setFont(bold);
    auto* buttons = new QHBoxLayout;
    m_startButton = new QPushButton("Start", this);
    m_startButton->setObjectName("BStart");
    auto* stop = new QPushButton("Stop", this);
    stop->setObjectName("BStop");
    auto* quit = new QPushButton("Beenden", this);
    quit->setObjectName("BBeenden");
    for (auto* b : {m_startButton, stop, quit}) buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(m_startButton, &QPushButton::clicked, this, [this] { start(); });
    connect(stop, &QPushButton::clicked, this, [this] { m_stop = true; });
    connect(quit, &QPushButton::clicked, this, [this] { close(); });
    m_source->installEventFilter(new LeaveFilter(this, [this] { sourceLeft(); }));
    connect(m_source, &QComboBox::activated, this, [this] { sourceLeft(); });
    m_target->installEventFilter(new LeaveFilter(this, [this] { targetLeft(); }));
    m_timer = new QTimer(this);
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, [this] { refresh(); });
    resize(640, 560);
}

DriveCopyWindow::~DriveCopyWindow() {
    m_stop = true;
    if (m_worker) m_worker->join();
}

void DriveCopyWindow::open() {
    m_sourcePath->setText("Datei:");
    m_targetPath->setText("Datei:");
    if (!m_worker) m_state->clear();
    fillFolders();
    show();
    raise();
    activateWindow();
}

void DriveCopyWindow::fillFolders() {
    QStringList lines;
    for (const auto& folder : drivecopy::topFolders(u(m_source->currentText()))) lines << local(folder);
    m_folders->setPlainText(lines.join('\n'));
}

// On Linux the "drive" is any existing folder.
void DriveCopyWindow::sourceLeft() {
    const std::string typed = text::trim(u(m_source->currentText()));
    if (typed.empty() || !std::filesystem::is_directory(typed)) {
        m_dialogs.inform("Der Ordner \"" + typed + "\" ist nicht vorhanden. Bitte einen vorhandenen Ordner angeben!");
        m_source->setCurrentText(local(m_home));
    } else {
        m_source->setCurrentText(local(drivecopy::asFolder(typed)));
    }
    fillFolders();
}

void DriveCopyWindow::targetLeft() {
    std::string folder = text::trim(u(m_target->text()));
    if (folder.empty()) return;
    folder = drivecopy::asFolder(folder);
    m_target->setText(local(folder));
    if (std::filesystem::is_directory(folder)) return;
    if (m_dialogs.ask("Soll der Ordner \"" + folder + "\" erstellt werden?") != Answer::Yes) return;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder)) {
        m_dialogs.inform("Der Ordner \"" + folder + "\" konnte nicht erstellt werden.");
        m_target->setText(local(m_defaultTarget));
    }
}

std::vector<std::string> DriveCopyWindow::listedFolders() const {
    std::vector<std::string> folders;
    for (const QString& line : m_folders->toPlainText().split('\n')) {
        const std::string folder = text::trim(u(line));
        if (!folder.empty()) folders.push_back(drivecopy::asFolder(folder));
    }
    return folders;
}

void DriveCopyWindow::start() {
    if (m_worker) return;
    const std::string source = drivecopy::asFolder(text::trim(u(m_source->currentText())));
    const std::string target = text::trim(u(m_target->text()));
    if (target.empty() || !std::filesystem::is_directory(target)) {
        m_dialogs.inform("Bitte einen vorhandenen Ordner zum Sichern angeben.");
        return;
    }
    const std::vector<std::string> folders = listedFolders();
    if (auto problem = drivecopy::targetProblem(target, folders)) {
        m_dialogs.inform(*problem);
        return;
    }
    m_stop = false;
    m_done = false;
    m_progress.seen = 0;
    m_progress.copied = 0;
    m_startButton->setEnabled(false);
    m_state->setText("Die Sicherung läuft …");
    const drivecopy::Job job{source, drivecopy::asFolder(target), folders, m_onlyNew->isChecked()};
    m_worker = std::make_unique<std::thread>([this, job] {
        m_report = drivecopy::run(job, m_progress, m_stop);
        m_done = true;
    });
    m_timer->start();
}

void DriveCopyWindow::refresh() {
    m_seen->setText("Erfasste Dateien: " + QString::number(m_progress.seen.load()));
    m_copied->setText("Kopierte Dateien: " + QString::number(m_progress.copied.load()));
    {
        std::lock_guard lock(m_progress.mutex);
        m_sourcePath->setText("Datei: " + local(m_progress.sourcePath));
        m_targetPath->setText("Datei: " + local(m_progress.targetPath));
    }
    if (m_done) ended();
}

void DriveCopyWindow::ended() {
    m_timer->stop();
    if (m_worker) {
        m_worker->join();
        m_worker.reset();
    }
    m_seen->setText("Erfasste Dateien: " + QString::number(m_progress.seen.load()));
    m_copied->setText("Kopierte Dateien: " + QString::number(m_progress.copied.load()));
    m_startButton->setEnabled(true);
    m_state->setText(local(drivecopy::endText(m_report, m_progress.copied.load())));
    const std::string report = drivecopy::reportText(m_report);
    if (!report.empty()) m_dialogs.showText("Laufwerk sichern", report);
    emit finished();
}

void DriveCopyWindow::waitForEnd() {
    if (!m_worker) return;
    m_worker->join();
    m_worker.reset();
    m_done = true;
    ended();
}

void DriveCopyWindow::closeEvent(QCloseEvent* event) {
    m_stop = true;
    if (m_worker) {
        m_worker->join();
        m_worker.reset();
        m_timer->stop();
        m_startButton->setEnabled(true);
    }
    event->accept();
}

}  // namespace pictra::ui
