#include "FilmWindow.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QPushButton>
#include <QSlider>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoWidget>

#include "common/Dialogs.h"
#include "explorer/OpenDispatch.h"
#include "platform/Desktop.h"

namespace pictra::ui {

namespace {

// GStreamer as Debian ships it lacks the ASF and MPEG program-stream demuxers, so WMV and
// MPEG films would not play; Qt's FFmpeg backend plays every kind the explorer hands over.
// The backend is fixed when the first player is made, so this must run before that; a
// backend the user chose in QT_MEDIA_BACKEND is left alone.
void chooseMediaBackend() {
    if (!qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) return;
    const QString plugin =
        QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/multimedia/libffmpegmediaplugin.so");
    if (QFileInfo::exists(plugin)) qputenv("QT_MEDIA_BACKEND", "ffmpeg");
}

constexpr const char* kNoFlashPlayer =
    "Für Flash-Filme (.swf) gibt es hier kein Abspielprogramm.\rDie Datei wird dem zugeordneten Programm übergeben.";

QString clock(qint64 milliseconds) {
    const qint64 seconds = milliseconds / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

FilmWindow::FilmWindow(Dialogs& dialogs, QWidget* parent) : QWidget(parent, Qt::Window), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("FilmWindow"));
    chooseMediaBackend();
    m_player = new QMediaPlayer(this);
    // Qt 6.4's FFmpeg backend writes into an audio sink that does not exist when the machine
    // has no sound device, and crashes: such a machine shows the film without its sound.
    if (!QMediaDevices::audioOutputs().isEmpty()) m_player->setAudioOutput(new QAudioOutput(this));

    m_video = new QVideoWidget(this);
    m_video->setObjectName(QStringLiteral("VideoWidget"));
    m_video->setMinimumSize(320, 240);
    m_player->setVideoOutput(m_video);

    m_pause = new QPushButton(QStringLiteral("Pause"), this);
    m_pause->setObjectName(QStringLiteral("BPause"));
    m_bar = new QSlider(Qt::Horizontal, this);
    m_bar->setObjectName(QStringLiteral("TBPosition"));
    m_time = new QLabel(this);
    m_time->setObjectName(QStringLiteral("LZeit"));

    auto* controls = new QHBoxLayout;
    controls->addWidget(m_pause);
    controls->addWidget(m_bar, 1);
    controls->addWidget(m_time);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_video, 1);
    layout->addLayout(controls);
    resize(720, 520);

    connect(m_pause, &QPushButton::clicked, this, &FilmWindow::togglePause);
    connect(m_bar, &QSlider::sliderMoved, m_player, &QMediaPlayer::setPosition);
    connect(m_player, &QMediaPlayer::positionChanged, this, &FilmWindow::showPosition);
    connect(m_player, &QMediaPlayer::durationChanged, this, [this](qint64 d) {
        m_bar->setRange(0, static_cast<int>(d));
        showPosition(m_player->position());
        if (d > 0) emit durationKnown(d);
    });
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState state) {
        m_pause->setText(state == QMediaPlayer::PlayingState ? QStringLiteral("Pause") : QStringLiteral("Abspielen"));
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this] { reportFailure(); });
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::InvalidMedia) reportFailure();
    });
}

FilmWindow::~FilmWindow() { m_player->stop(); }

void FilmWindow::play(const std::string& path) {
    m_path = path;
    m_failed = false;
    const QString file = QFile::decodeName(QByteArray::fromStdString(path));
    setWindowTitle(QFileInfo(file).fileName());
    m_bar->setRange(0, 0);
    m_time->clear();
    show();
    raise();
    activateWindow();
    m_player->setSource(QUrl::fromLocalFile(file));
    if (!m_failed) m_player->play();
}

void FilmWindow::togglePause() {
    if (m_failed) return;
    if (m_player->playbackState() == QMediaPlayer::PlayingState)
        m_player->pause();
    else
        m_player->play();
}

qint64 FilmWindow::duration() const { return m_player->duration(); }

bool FilmWindow::playing() const { return m_player->playbackState() == QMediaPlayer::PlayingState; }

void FilmWindow::showPosition(qint64 position) {
    const qint64 length = m_player->duration();
    // Matroska, WebM and FLV films may not tell their length: the bar then reaches as far as played.
    if (length <= 0 && position > m_bar->maximum()) m_bar->setMaximum(static_cast<int>(position));
    if (!m_bar->isSliderDown()) m_bar->setValue(static_cast<int>(position));
    m_time->setText(length > 0 ? clock(position) + QStringLiteral(" / ") + clock(length) : clock(position));
}

// The backend may report one broken file more than once (an error, then a status).
void FilmWindow::reportFailure() {
    if (m_failed || m_path.empty()) return;
    m_failed = true;
    m_player->stop();
    hide();
    m_dialogs.inform("Der Film \"" + m_path + "\" kann nicht abgespielt werden.\rDie Datei ist beschädigt oder kein Film.");
    emit failed();
}

void FilmWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->key() == Qt::Key_Space) {
        togglePause();
        return;
    }
    QWidget::keyPressEvent(event);
}

// A closed window stays made for the next film, but nothing plays on behind it.
void FilmWindow::hideEvent(QHideEvent* event) {
    m_player->pause();
    QWidget::hideEvent(event);
}

FilmWindow& filmWindowOf(QWidget& owner, Dialogs& dialogs) {
    if (auto* existing = owner.findChild<FilmWindow*>(QStringLiteral("FilmWindow"), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new FilmWindow(dialogs, &owner);
}

// Debian has no Flash player: such a file goes, after the message, to whatever the desktop has for it.
void playFilm(QWidget& owner, Dialogs& dialogs, const std::string& path) {
    if (!explorer::isFlashFile(path)) {
        filmWindowOf(owner, dialogs).play(path);
        return;
    }
    dialogs.inform(kNoFlashPlayer);
    if (!platform::openWithAssociated(path)) dialogs.inform("Programm zu öffnen unbekannt! (2)");
}

}  // namespace pictra::ui
