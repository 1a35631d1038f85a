#include "SettingsDialog.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "common/UiText.h"
#include "common/Dialogs.h"
#include "settings/SettingsStore.h"

namespace pictra::ui {

namespace {

constexpr double kErrorTone = 220.0;
constexpr double kCompletionTone = 440.0;
constexpr double kHighSignal = 880.0;

constexpr std::uint32_t kHighlight = 8421631;

const char* groupName(int group) {
    switch (group) {
        case 1: return "GBDirektdruck";
        case 2: return "GBTermine";
        case 4: return "GBKalender";
        case 5: return "GBTemp";
        case 7: return "GBRaender";
        case 8: return "GBStart";
        case 9: return "GBBilderUeberblick";
        case 10: return "GBBildvorschau";
        case 11: return "GBExplorer";
        default: return nullptr;
    }
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

QSpinBox* spin(QWidget* parent, const char* name, int min, int max) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(min, max);
    return s;
}

}  // namespace

SettingsDialog::SettingsDialog(SettingsStore& store, Dialogs& dialogs, ProgramPaths paths,
                               std::string defaultSecondFolder, SettingsDialogHooks hooks, QWidget* parent)
    : QDialog(parent),
      m_store(store),
      m_dialogs(dialogs),
      m_paths(std::move(paths)),
      m_defaultSecondFolder(std::move(defaultSecondFolder)),
      m_hooks(std::move(hooks)) {
    setObjectName("Form6");
    setWindowTitle("Einstellungen");
    auto* outer = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    outer->addLayout(row);
    for (auto*& column : m_columns) {
        column = new QWidget(this);
        auto* layout = new QVBoxLayout(column);
        layout->setContentsMargins(0, 0, 0, 0);
        row->addWidget(column, 0, Qt::AlignTop);
    }
    buildToneGroup();
    buildSampleGroup();
    buildFontGroup();
    buildFolderGroups();
    buildOptionGroups();
    buildPrintGroups();
    for (auto* column : m_columns) static_cast<QVBoxLayout*>(column->layout())->addStretch();
    auto* close = button(this, "BSchliessen", "Schließen");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    outer->addWidget(close, 0, Qt::AlignRight);
    // Enter means "Schließen", whatever field has the focus.
    for (auto* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
    close->setDefault(true);
    orderTabsByColumns(close);
}

// The tab order follows the layout: down the first column, then the next.
void SettingsDialog::orderTabsByColumns(QWidget* last) {
    QWidget* previous = nullptr;
    for (QWidget* column : m_columns) {
        for (QWidget* w : column->findChildren<QWidget*>()) {
            if (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled()) continue;
            if (previous) setTabOrder(previous, w);
            previous = w;
        }
    }
    if (previous) setTabOrder(previous, last);
}

QGroupBox* SettingsDialog::addGroup(const QString& name, const QString& title) {
    QWidget* column = m_columns[m_nextColumn++ % 3];
    auto* group = new QGroupBox(title, column);
    group->setObjectName(name);
    column->layout()->addWidget(group);
    return group;
}

void SettingsDialog::buildToneGroup() {
    auto* group = addGroup("GBTon", "Töne");
    auto* form = new QFormLayout(group);
    m_toneDuration = spin(group, "SETondauer", 0, 1000);
    form->addRow("Tondauer [ms]", m_toneDuration);
    m_volume = new QSlider(Qt::Horizontal, group);
    m_volume->setObjectName("TBLautstaerke");
    m_volume->setRange(0, 100);
    form->addRow("Lautstaerke", m_volume);
    connect(m_volume, &QSlider::valueChanged, this, [this](int value) {
        if (m_filling) return;
        writeVolume(m_store, value);
        m_hooks.tone(kCompletionTone);
    });
    auto* tests = new QHBoxLayout;
    const std::pair<const char*, double> toneTests[] = {
        {"BTon220", kErrorTone}, {"BTon440", kCompletionTone}, {"BTon880", kHighSignal}};
    for (auto [name, frequency] : toneTests) {
        auto* b = button(group, name, QString("%1 Hz").arg(frequency));
        connect(b, &QPushButton::clicked, this, [this, f = frequency] { m_hooks.tone(f); });
        tests->addWidget(b);
    }
    form->addRow(tests);
    auto* signals_ = new QHBoxLayout;
    auto* alarm = button(group, "BAlarmton", "Alarmton");
    connect(alarm, &QPushButton::clicked, this, [this] {
        for (int i = 0; i < 2; ++i) {
            m_hooks.tone(kHighSignal);
            m_hooks.tone(kCompletionTone);
        }
    });
    auto* signal = button(group, "BSignalton", "Signalton");
    connect(signal, &QPushButton::clicked, this, [this] { m_hooks.chime(); });
    signals_->addWidget(alarm);
    signals_->addWidget(signal);
    form->addRow(signals_);
}

void SettingsDialog::buildSampleGroup() {
    auto* group = addGroup("GBJP0", "Text in Bildern");
    auto* layout = new QVBoxLayout(group);
    m_sample = new QLabel("AbCdEfGhIjKlMnOp", group);
    m_sample->setObjectName("LMuster");
    m_sample->setAutoFillBackground(true);
    layout->addWidget(m_sample);
    auto* buttons = new QHBoxLayout;
    auto* textButton = button(group, "BText", "Text");
    auto* background = button(group, "BHintergrundfarbe", "Hintergrundfarbe");
    connect(textButton, &QPushButton::clicked, this, &SettingsDialog::chooseSampleText);
    connect(background, &QPushButton::clicked, this, &SettingsDialog::chooseSampleBackground);
    buttons->addWidget(textButton);
    buttons->addWidget(background);
    layout->addLayout(buttons);
}

void SettingsDialog::buildFontGroup() {
    auto* group = addGroup("GBSchrift", "Schrift der Texte");
    auto* layout = new QVBoxLayout(group);
    m_fontName = new QLabel(group);
    m_fontName->setObjectName("LSchrift");
    layout->addWidget(m_fontName);
    auto* buttons = new QHBoxLayout;
    auto* font = button(group, "BSchrift", "Schrift");
    auto* standard = button(group, "BSchriftStandard", "Schrift Standard");
    connect(font, &QPushButton::clicked, this, &SettingsDialog::chooseEditorFont);
    connect(standard, &QPushButton::clicked, this, &SettingsDialog::standardEditorFont);
    buttons->addWidget(font);
    buttons->addWidget(standard);
    layout->addLayout(buttons);
}

void SettingsDialog::buildFolderGroups() {
    auto* binGroup = addGroup("GBPapierkorb", "Papierkorb");
    auto* binLayout = new QVBoxLayout(binGroup);
    m_bin = new QLineEdit(binGroup);
    m_bin->setObjectName("EPapierkorb");
    m_bin->setReadOnly(true);
    binLayout->addWidget(m_bin);
    auto* openBin = button(binGroup, "BPapierkorbOeffnen", "Papierkorb öffnen");
    connect(openBin, &QPushButton::clicked, this, [this] {
        if (m_hooks.openBin) m_hooks.openBin();
    });
    binLayout->addWidget(openBin);

    auto* copyGroup = addGroup("GBSicherung", "Sicherung");
    auto* copyLayout = new QVBoxLayout(copyGroup);
    m_secondCopy = new QCheckBox("Sichungskopie auch auf Partition/Wechseldatenträger", copyGroup);
    m_secondCopy->setObjectName("CBZweitesTraeger");
    m_secondFolder = new QLineEdit(copyGroup);
    m_secondFolder->setObjectName("EOrdnerZweiterTraeger");
    m_secondBrowse = button(copyGroup, "BDurchsuchen", "Durchsuchen ...");
    connect(m_secondBrowse, &QPushButton::clicked, this, &SettingsDialog::chooseSecondFolder);
    connect(m_secondCopy, &QCheckBox::toggled, this, [this](bool on) {
        m_secondFolder->setVisible(on);
        m_secondBrowse->setVisible(on);
    });
    copyLayout->addWidget(m_secondCopy);
    copyLayout->addWidget(m_secondFolder);
    copyLayout->addWidget(m_secondBrowse);

    auto* tempGroup = addGroup("GBTemp", "Temporäre Dateien");
    auto* tempLayout = new QVBoxLayout(tempGroup);
    m_temp = new QLineEdit(tempGroup);
    m_temp->setObjectName("ETemp");
    m_temp->setPlaceholderText(q(m_paths.folder));
    auto* tempButton = button(tempGroup, "BTemp", "Temporäre Dateien");
    connect(tempButton, &QPushButton::clicked, this, &SettingsDialog::chooseTempFolder);
    tempLayout->addWidget(m_temp);
    tempLayout->addWidget(tempButton);
}

void SettingsDialog::buildOptionGroups() {
    auto* appointments = addGroup("GBTermine", "Termine");
    auto* appLayout = new QVBoxLayout(appointments);
    m_appointments = new QCheckBox("Beim Start von Scrivo stets anzeigen", appointments);
    m_appointments->setObjectName("CBTermine");
    auto* chooseFile = button(appointments, "BTermindatei", "Termindatei auswählen und öffnen");
    connect(chooseFile, &QPushButton::clicked, this, &SettingsDialog::chooseAppointmentFile);
    m_appointmentFile = new QLabel(appointments);
    m_appointmentFile->setObjectName("LTermindatei");
    appLayout->addWidget(m_appointments);
    appLayout->addWidget(chooseFile);
    appLayout->addWidget(m_appointmentFile);

    auto* pictures = addGroup("GBBilderUeberblick", "Bilder im Überblick");
    auto* picLayout = new QHBoxLayout(pictures);
    m_pictures12 = new QRadioButton("12 Bilder", pictures);
    m_pictures12->setObjectName("RB12Bilder");
    m_pictures48 = new QRadioButton("48 Bilder", pictures);
    m_pictures48->setObjectName("RB48Bilder");
    picLayout->addWidget(m_pictures12);
    picLayout->addWidget(m_pictures48);

    auto* preview = addGroup("GBBildvorschau", "Bildvorschau");
    auto* previewLayout = new QVBoxLayout(preview);
    m_preview = new QCheckBox("Bildvorschau im Explorer", preview);
    m_preview->setObjectName("CBBildvorschau");
    previewLayout->addWidget(m_preview);

    auto* explorer = addGroup("GBExplorer", "Explorer");
    auto* explorerLayout = new QVBoxLayout(explorer);
    m_explorerHeight = new QCheckBox("Explorerhöhe  nicht austomatisch", explorer);
    m_explorerHeight->setObjectName("CBExplorerhoehe");
    connect(m_explorerHeight, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_filling) writeExplorerHeightFixed(m_store, on);
    });
    explorerLayout->addWidget(m_explorerHeight);

    auto* start = addGroup("GBStart", "Beim Start");
    auto* startLayout = new QFormLayout(start);
    m_numLock = new QComboBox(start);
    m_numLock->setObjectName("CBZahlenblock");
    m_numLock->addItems({"einschalten", "ausschalten", "nicht verändern"});
    connect(m_numLock, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_filling || index < 0) return;
        writeNumLock(m_store, index);
        if (m_hooks.numLockChanged) m_hooks.numLockChanged(index);
    });
    startLayout->addRow("Zahlenblock", m_numLock);
}

void SettingsDialog::buildPrintGroups() {
    auto* margins = addGroup("GBRaender", "Ränder beim Drucken");
    auto* form = new QFormLayout(margins);
    m_marginTop = spin(margins, "SERandOben", 0, 200);
    m_marginLeft = spin(margins, "SERandLinks", 0, 200);
    m_marginRight = spin(margins, "SERandRechts", 0, 200);
    form->addRow("Oberer Rand (mm)", m_marginTop);
    form->addRow("Linker Rand (mm)", m_marginLeft);
    form->addRow("rechter Rand (mm)", m_marginRight);
    for (QSpinBox* s : {m_marginTop, m_marginLeft, m_marginRight}) {
        connect(s, &QSpinBox::valueChanged, this, &SettingsDialog::marginsChanged);
    }
    auto* extended = button(margins, "BErweitert", "Erweiterte Einstellungen über MS-Explorer");
    connect(extended, &QPushButton::clicked, this, &SettingsDialog::showBrowserPageSetup);
    form->addRow(extended);

    auto* direct = addGroup("GBDirektdruck", "Direktdruck");
    auto* directForm = new QFormLayout(direct);
    m_blanksLeft = spin(direct, "SELeerstellen", 0, 80);
    m_linesTop = spin(direct, "SELeerzeilen", 0, 80);
    directForm->addRow("Leerstellen links", m_blanksLeft);
    directForm->addRow("Leerzeilen oben", m_linesTop);
    auto* modes = new QHBoxLayout;
    auto* needle = button(direct, "BNadeldrucker", "Nadeldrucker");
    auto* other = button(direct, "BAndere", "Andere");
    connect(needle, &QPushButton::clicked, this, [this] {
        if (m_hooks.printerMode) m_hooks.printerMode(true);
    });
    connect(other, &QPushButton::clicked, this, [this] {
        if (m_hooks.printerMode) m_hooks.printerMode(false);
    });
    modes->addWidget(needle);
    modes->addWidget(other);
    directForm->addRow(modes);
    auto* landscape = button(direct, "BQuerformat", "Drucker auf Querformat stellen");
    connect(landscape, &QPushButton::clicked, this, [this] {
        if (m_hooks.printerLandscape) m_hooks.printerLandscape();
    });
    directForm->addRow(landscape);

    auto* calendar = addGroup("GBKalender", "Kalender");
    auto* calendarLayout = new QVBoxLayout(calendar);
    auto* month = new QCalendarWidget(calendar);
    month->setObjectName("Kalender1");
    month->setLocale(QLocale(QLocale::German, QLocale::Germany));
    month->setFirstDayOfWeek(Qt::Monday);
    month->setGridVisible(true);
    calendarLayout->addWidget(month);
}

QGroupBox* SettingsDialog::groupOf(int group) const {
    const char* name = groupName(group);
    return name ? findChild<QGroupBox*>(name) : nullptr;
}

void SettingsDialog::highlight(int group) {
    for (auto* box : findChildren<QGroupBox*>()) {
        box->setAutoFillBackground(false);
        box->setPalette(palette());
    }
    if (QGroupBox* box = groupOf(group)) {
        QPalette pal = box->palette();
        pal.setColor(QPalette::Window, colourFromWindows(kHighlight));
        box->setPalette(pal);
        box->setAutoFillBackground(true);
    }
}

void SettingsDialog::fill() {
    m_filling = true;
    m_values = readSettingsForm(m_store, m_defaultSecondFolder);
    const auto& v = m_values;
    m_explorerHeight->setChecked(v.explorerHeightFixed);
    m_toneDuration->setValue(v.toneDuration);
    m_volume->setValue(v.volume);
    m_bin->setText(q(m_paths.binFolder()));
    m_secondCopy->setChecked(v.secondCopy);
    m_secondFolder->setText(q(v.secondCopyFolder));
    m_secondFolder->setVisible(v.secondCopy);
    m_secondBrowse->setVisible(v.secondCopy);
    m_temp->setText(q(v.tempFolder));
    m_appointments->setChecked(v.appointmentsAtStart);
    m_appointmentFile->setText(v.appointmentFile.empty() ? "-" : q(v.appointmentFile));
    m_pictures48->setChecked(v.pictures48);
    m_pictures12->setChecked(!v.pictures48);
    m_preview->setChecked(v.explorerPreview);
    m_marginTop->setValue(v.marginTop);
    m_marginLeft->setValue(v.marginLeft);
    m_marginRight->setValue(v.marginRight);
    m_blanksLeft->setValue(v.blanksLeft);
    m_linesTop->setValue(v.linesTop);
    m_numLock->setCurrentIndex(v.numLock);
    const FontSpec font = readEditorFont(m_store);
    m_fontName->setText(QString("%1, %2").arg(q(font.name)).arg(font.size));
    updateSample();
    m_filling = false;
}

void SettingsDialog::updateSample() {
    QPalette pal = m_sample->palette();
    pal.setColor(QPalette::Window, colourFromWindows(m_values.jp0BackgroundColour));
    pal.setColor(QPalette::WindowText, colourFromWindows(m_values.jp0TextColour));
    m_sample->setPalette(pal);
    QFont font = m_sample->font();
    font.setPointSize(m_values.jp0FontSize);
    m_sample->setFont(font);
}

void SettingsDialog::writeBack() {
    auto& v = m_values;
    v.explorerHeightFixed = m_explorerHeight->isChecked();
    v.toneDuration = m_toneDuration->value();
    v.volume = m_volume->value();
    v.secondCopy = m_secondCopy->isChecked();
    v.secondCopyFolder = u(m_secondFolder->text());
    v.tempFolder = u(m_temp->text().trimmed());
    v.appointmentsAtStart = m_appointments->isChecked();
    v.pictures48 = m_pictures48->isChecked();
    v.explorerPreview = m_preview->isChecked();
    v.marginTop = m_marginTop->value();
    v.marginLeft = m_marginLeft->value();
    v.marginRight = m_marginRight->value();
    v.blanksLeft = m_blanksLeft->value();
    v.linesTop = m_linesTop->value();
    writeSettingsForm(m_store, v);
}

void SettingsDialog::prepare(int group) {
    fill();
    highlight(group);
}

void SettingsDialog::openSettings(int group) {
    prepare(group);
    exec();
}

void SettingsDialog::done(int result) {
    writeBack();
    QDialog::done(result);
}

void SettingsDialog::marginsChanged() {
    if (!m_filling) writeMargins(m_store, m_marginTop->value(), m_marginLeft->value(), m_marginRight->value());
}

void SettingsDialog::chooseSampleText() {
    FontSpec current;
    current.size = m_values.jp0FontSize;
    if (auto font = m_dialogs.chooseFont(current)) m_values.jp0FontSize = font->size < 6 ? 12 : font->size;
    if (auto colour = m_dialogs.chooseColour(m_values.jp0TextColour)) m_values.jp0TextColour = *colour;
    updateSample();
}

void SettingsDialog::chooseSampleBackground() {
    if (auto colour = m_dialogs.chooseColour(m_values.jp0BackgroundColour)) m_values.jp0BackgroundColour = *colour;
    updateSample();
}

void SettingsDialog::chooseSecondFolder() {
    if (auto folder = chooseReachableFolder(m_dialogs, "Ordner für die Sicherungskopie", u(m_secondFolder->text()))) {
        m_secondFolder->setText(q(*folder));
    }
}

void SettingsDialog::chooseTempFolder() {
    if (auto folder = chooseReachableFolder(m_dialogs, "Temporäre Dateien", u(m_temp->text()))) {
        m_temp->setText(q(*folder));
    }
}

void SettingsDialog::chooseAppointmentFile() {
    auto file = m_dialogs.chooseOpenFile("Termindatei auswählen", m_paths.folder);
    if (!file) return;
    m_store.writeValue(kSectionSettings, "Termindatei", *file);
    m_appointmentFile->setText(q(*file));
    if (m_hooks.openFile) m_hooks.openFile(*file);
}

void SettingsDialog::chooseEditorFont() {
    auto font = m_dialogs.chooseFont(readEditorFont(m_store));
    if (!font) return;
    writeEditorFont(m_store, *font);
    m_fontName->setText(QString("%1, %2").arg(q(font->name)).arg(font->size));
    if (m_hooks.fontChanged) m_hooks.fontChanged();
}

void SettingsDialog::standardEditorFont() {
    writeStandardEditorFont(m_store);
    m_fontName->setText("Courier New, 10");
    if (m_hooks.fontChanged) m_hooks.fontChanged();
}

void SettingsDialog::showBrowserPageSetup() {
    m_dialogs.inform(
        "Im MS-Explorer werden die Ränder über \"Datei|Seitenansicht\" eingestellt. Die Einstellungen hier werden "
        "noch dazu addiert. Die geänderten Einstellungen des MS-Explorers werden nach einem Neustart von Pictra "
        "wirksam.");
    if (!m_hooks.openBrowserPageSetup || !m_hooks.openBrowserPageSetup()) {
        m_dialogs.inform("Internetexplorer nicht installiert");
    }
}

}  // namespace pictra::ui
