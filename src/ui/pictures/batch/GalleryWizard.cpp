#include "GalleryWizard.h"

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSpinBox>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/Dialogs.h"
#include "common/FileIo.h"
#include "common/PathNames.h"
#include "pictures/batch/GalleryCommand.h"
#include "platform/pictures/GalleryPictureFiles.h"
#include "settings/SettingsStore.h"

namespace pictra::ui {

namespace {

constexpr const char* kGuide =
    "<h2>Bildergalerien erstellen</h2>"
    "<p>Aus allen Bildern des Ordners werden kleine, komprimierte Bilder (\"zz_...\") und eine HTML-Datei "
    "\"galerie.html\" mit diesen kleinen Bildern erzeugt. Ein Klick auf ein kleines Bild zeigt das große Bild.</p>"
    "<p>Beschriften: Schreiben Sie in der HTML-Datei den Text über oder unter das Bild, oder lassen Sie die Bilder mit "
    "\"Bilder beschriften\" nach ihren Dateinamen beschriften.</p>"
    "<p>In der Browservorschau: F4 zeigt den Text, Esc schließt die Vorschau, F9 lädt die Seite neu.</p>"
    "<p>Sie finden diesen Assistenten im Explorer im Menü \"Bilder\".</p>";

QString q(const std::string& s) {
    return QString::fromStdString(s);
}
std::string u(const QString& s) {
    return s.toStdString();
}

}  // namespace

GalleryWizard::GalleryWizard(SettingsStore& store, Dialogs& dialogs, std::string journalFolder,
                             GalleryWizardHooks hooks, QWidget* parent)
    : QDialog(parent),
      m_store(store),
      m_dialogs(dialogs),
      m_journalFolder(std::move(journalFolder)),
      m_hooks(std::move(hooks)) {
    setObjectName("Form11Bildergalerien");
    setWindowTitle("Bildergalerien erstellen");
    auto* layout = new QVBoxLayout(this);
    auto row = [layout](std::initializer_list<QWidget*> widgets) {
        auto* line = new QHBoxLayout;
        for (QWidget* w : widgets) line->addWidget(w);
        line->addStretch();
        layout->addLayout(line);
    };
    m_folder = new QLineEdit(this);
    m_folder->setObjectName("Edit1");
    auto* browse = new QPushButton("Durchsuchen", this);
    browse->setObjectName("BDurchsuchen");
    connect(browse, &QPushButton::clicked, this, [this] {
        if (auto folder = m_dialogs.chooseFolder("Ordner der Bilder", u(m_folder->text())))
            m_folder->setText(q(*folder));
    });
    auto* folderLine = new QHBoxLayout;
    folderLine->addWidget(new QLabel("Ordner:", this));
    folderLine->addWidget(m_folder, 1);
    folderLine->addWidget(browse);
    layout->addLayout(folderLine);

    m_heading = new QLineEdit("Bildergalerie", this);
    m_heading->setObjectName("E_ueberschrift");
    row({new QLabel("Überschrift:", this), m_heading});
    m_quality = spin("SpinEdit4", 65, 100);
    m_quality->setMinimum(1);
    m_smallHeight = spin("SpinEdit3", 200, 2000);
    m_smallHeight->setMinimum(1);
    row({new QLabel("Kompression:", this), m_quality, new QLabel("Höhe der kleinen Bilder:", this), m_smallHeight});
    m_name = new QLineEdit("galerie", this);
    m_name->setObjectName("E_NamederGalerie");
    row({new QLabel("Name der Galerie:", this), m_name,
         new QLabel("klein schreiben (ohne Leerzeichen und ä etc.)!", this)});

    m_labels = new QCheckBox("Bilder beschriften", this);
    m_labels->setObjectName("CBBeschriftung");
    m_labelRow = new QWidget(this);
    auto* labelLine = new QHBoxLayout(m_labelRow);
    labelLine->setContentsMargins(0, 0, 0, 0);
    m_perRow = spin("SpinEdit1", 3, 100);
    m_border = spin("SpinEdit2", 1, 20);
    labelLine->addWidget(new QLabel("Pro Zeile ", m_labelRow));
    labelLine->addWidget(m_perRow);
    labelLine->addWidget(new QLabel("Bilder. Tabellrand ", m_labelRow));
    labelLine->addWidget(m_border);
    m_labelRow->setVisible(false);
    connect(m_labels, &QCheckBox::toggled, m_labelRow, &QWidget::setVisible);
    row({m_labels, m_labelRow});

    m_navigation = new QCheckBox("Navigation bei großen Bildern ermöglichen (", this);
    m_navigation->setObjectName("CBkomfort");
    m_navigationHeight = spin("SpinEdit5", 0, 20000);
    row({m_navigation, m_navigationHeight, new QLabel("px )", this)});
    auto* heightNote = new QLabel(
        "0 px = Originalgröße wird gezeigt. 520 px (Empfehlung) alle Bilder erhalten die Höhe "
        "von 520 px",
        this);
    heightNote->setWordWrap(true);
    layout->addWidget(heightNote);
    // Without it every picture page asks for its heading, which a gallery of 300 photos makes a chore.
    m_headingsForAll = new QCheckBox("Für alle übernehmen", this);
    m_headingsForAll->setObjectName("CBfueralle");
    row({new QLabel("Überschriften der großen Bilder (Bildtext .jp0 oder Dateiname):", this), m_headingsForAll});

    auto* guide = new QTextBrowser(this);
    guide->setObjectName("RichEdit1");
    guide->setHtml(kGuide);
    layout->addWidget(guide, 1);
    auto* closeByEsc = new QShortcut(QKeySequence(Qt::Key_Escape), guide);
    connect(closeByEsc, &QShortcut::activated, this, &QDialog::reject);

    auto* startButton = new QPushButton("Start", this);
    startButton->setObjectName("BStart");
    connect(startButton, &QPushButton::clicked, this, &GalleryWizard::start);
    auto* order = new QPushButton("Reihenfolge der Bilder anpassen", this);
    order->setObjectName("BReihenfolge");
    connect(order, &QPushButton::clicked, this, &GalleryWizard::reorder);
    auto* cancel = new QPushButton("Abbruch", this);
    cancel->setObjectName("BAbbruch");
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    row({startButton, order, cancel});
}

QSpinBox* GalleryWizard::spin(const char* name, int value, int maximum) {
    auto* s = new QSpinBox(this);
    s->setObjectName(name);
    s->setRange(0, maximum);
    s->setValue(value);
    return s;
}

void GalleryWizard::openAt(const std::string& folder) {
    m_store.writeValue("bildergalerie0", "bildergalerie1", folder);
    m_folder->setText(q(folder));
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        setGeometry(area.left() + (area.width() - std::min(area.width(), 720)) / 2, area.top() + 30,
                    std::min(area.width(), 720), area.height() - 60);
    }
    exec();
}

void GalleryWizard::done(int result) {
    m_store.writeValue("bildergalerie0", "bildergalerie1", u(m_folder->text()));
    QDialog::done(result);
}

void GalleryWizard::start() {
    std::string folder = u(m_folder->text().trimmed());
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (folder.empty()) {
        m_dialogs.inform("Sie müssen noch den Ordner auswählen, in dem Ihre Bilder  gespeichert sind");
        return;
    }
    pictures::batch::GalleryRequest request;
    request.folder = folder;
    request.options.heading = u(m_heading->text());
    request.options.name = u(m_name->text());
    request.options.labels = m_labels->isChecked();
    request.options.perRow = m_perRow->value();
    request.options.border = m_border->value();
    request.options.navigation = m_navigation->isChecked();
    request.options.navigationHeight = m_navigationHeight->value();
    request.headingsForAll = m_headingsForAll->isChecked();
    request.quality = m_quality->value();
    request.smallHeight = m_smallHeight->value();
    const QDate today = QDate::currentDate();
    request.date = pictures::batch::germanShortDate(today.year(), today.month(), today.day());
    request.journalFolder = m_journalFolder;
    platform::pictures::GalleryPictureFiles files;
    const auto result = pictures::batch::makeGallery(request, files, m_dialogs);
    if (result.overviewPath.empty())
        return;
    accept();
    if (m_hooks.showFolder)
        m_hooks.showFolder(folder);
    if (m_hooks.previewHtml)
        m_hooks.previewHtml(result.overviewPath);
}

void GalleryWizard::reorder() {
    const std::string name = pictures::batch::galleryName(u(m_name->text()));
    const std::string question = "Dieser Programmpunkt ist notwendig, wenn Sie in der Datei \"" + name + ".html" +
                                 "\" die Reihenfolge " + "geändert haben.\r" +
                                 "Dann wird  jetzt die Navigation in den \"zzz_...\"-Dateien angepaßt.\r" +
                                 "Ist das beabsichtigt?";
    if (m_dialogs.ask(question) != Answer::Yes)
        return;
    std::string folder = u(m_folder->text().trimmed());
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const auto chosen = m_dialogs.chooseOpenFile("Bildergalerie", folder + "/" + name + ".html");
    if (!chosen)
        return;
    auto read = [](const std::string& path) -> std::optional<std::string> {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return std::nullopt;
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    };
    const auto overview = read(*chosen);
    if (!overview) {
        m_dialogs.inform("Datei \"" + *chosen + "\" existiert nicht.");
        return;
    }
    pictures::batch::GalleryOptions options;
    const std::string fileName = pathnames::fileNamePart(*chosen);
    options.name = fileName.substr(0, fileName.size() - pathnames::extensionOf(fileName).size());
    const std::string pageFolder = pathnames::folderOf(*chosen);
    const auto pages = pictures::batch::pageOrder(*overview);
    std::vector<std::string> failures;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string& previous = pages[(i + pages.size() - 1) % pages.size()];
        const std::string& next = pages[(i + 1) % pages.size()];
        const std::string path = pageFolder + "/" + pages[i];
        const auto old = read(path);
        const auto rebuilt = old ? pictures::batch::rebuiltPage(*old, pages[i], previous, next, options) : std::nullopt;
        if (!rebuilt || !fileio::writeFileAtomic(path, *rebuilt))
            failures.push_back("\"" + path + "\" wurde nicht angepasst.");
    }
    pictures::batch::showFailures(failures, m_dialogs);
    m_dialogs.inform("fertig!");
    accept();
}

}  // namespace pictra::ui
