#pragma once

#include <QHash>
#include <QImage>
#include <QLabel>
#include <QSize>
#include <QStringList>
#include <list>
#include <string>

// The picture boxes of the rename windows: pictures decoded at the box's size
// (JPEG through the DCT scaling), the neighbours of the one shown decoded ahead
// while the window is idle, so that holding an arrow key never waits for a decode.
namespace pictra::ui {

class PictureCache {
public:
    // `owner` lives as long as the cache: the decodes ahead end with it.
    PictureCache(QSize box, QObject* owner) : m_box(box), m_owner(owner) {}
    // The picture fitted into the box; a grey placeholder naming the file when it
    // cannot be decoded or is too large to decode here.
    QImage picture(const std::string& path);
    // Decoded ahead, one per call of the event loop, unless already there.
    void prefetch(const std::vector<std::string>& paths);
    void setBox(QSize box);

private:
    QImage decode(const std::string& path) const;
    void prefetchStep();

    QSize m_box;
    QObject* m_owner;
    QHash<QString, QImage> m_images;
    std::list<QString> m_order;  // oldest first: the cache keeps the newest few
    std::vector<std::string> m_pending;
    bool m_scheduled = false;
};

// A picture box: shows a picture fitted and centred; a click shows it on the
// whole screen on the program's blue ground.
class PictureBox : public QLabel {
public:
    explicit PictureBox(const QString& objectName, QWidget* parent);
    void showPicture(const std::string& path, PictureCache& cache);
    const std::string& path() const { return m_path; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::string m_path;
};

// The whole-screen view of one picture; any click or key closes it.
void showFullScreen(const std::string& path, QWidget* parent);

}  // namespace pictra::ui
