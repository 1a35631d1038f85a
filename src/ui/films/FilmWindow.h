#pragma once

#include <QWidget>
#include <string>

class QLabel;
class QMediaPlayer;
class QPushButton;
class QSlider;
class QVideoWidget;

namespace pictra {
class Dialogs;
}

// A plain film player: the picture, play/pause, a position bar and the time;
// the file name is the caption and Esc closes it. A file it cannot play is
// reported once through the dialogs and the window closes.
namespace pictra::ui {

class FilmWindow : public QWidget {
    Q_OBJECT
public:
    FilmWindow(Dialogs& dialogs, QWidget* parent);
    ~FilmWindow() override;

    void play(const std::string& path);
    void togglePause();
    // Milliseconds; 0 while unknown (some containers never say).
    qint64 duration() const;
    bool playing() const;
    const std::string& path() const { return m_path; }

signals:
    void durationKnown(qint64 milliseconds);
    void failed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showPosition(qint64 position);
    void reportFailure();

    Dialogs& m_dialogs;
    QMediaPlayer* m_player;
    QVideoWidget* m_video;
    QPushButton* m_pause;
    QSlider* m_bar;
    QLabel* m_time;
    std::string m_path;
    bool m_failed = false;
};

// The film window of `owner`, made on first use and kept (one per window that plays films).
FilmWindow& filmWindowOf(QWidget& owner, Dialogs& dialogs);
// A film into the film window of `owner`; Flash (.swf) after a message to its associated program.
void playFilm(QWidget& owner, Dialogs& dialogs, const std::string& path);

}  // namespace pictra::ui
