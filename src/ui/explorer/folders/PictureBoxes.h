#pragma once

#include <QHash>
#include <QImage>
#include <QLabel>
#include <QSize>
#include <QStringList>
#include <list>
#include <memory>
#include <string>
#include <vector>

// The picture boxes of the rename windows: pictures decoded at the box's size
// (JPEG through the DCT scaling), the neighbours of the one shown decoded ahead on
// threads of their own, so that holding an arrow key only swaps in what is ready.
namespace pictra::ui {

class PictureCache {
public:
    explicit PictureCache(QSize box);
    // Stops the decodes ahead (between row bands) and waits for them.
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;
    // The picture fitted into the box; a grey placeholder naming the file when it
    // cannot be decoded or is too large to decode here. A picture being decoded ahead
    // is waited for; one nobody started is decoded here, and the decodes ahead for the
    // old neighbours give up, so that it has a core of its own.
    QImage picture(const std::string& path);
    // These next, nearest first, unless already there; replaces the paths asked for before.
    void prefetch(const std::vector<std::string>& paths);
    void setBox(QSize box);
    // Whether the picture is there to be swapped in: shown before or decoded ahead.
    bool ready(const std::string& path);

private:
    struct Ahead;
    void keep(const QString& key, const QImage& image);
    void takeFinished();

    QSize m_box;
    QHash<QString, QImage> m_images;
    std::list<QString> m_order;  // oldest first: the cache keeps the newest few
    std::unique_ptr<Ahead> m_ahead;
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
    void resizeEvent(QResizeEvent* event) override;

private:
    // The picture as large as the box allows: smaller when the fine-tuning panel takes room.
    void fit();

    std::string m_path;
    QImage m_image;
};

// The whole-screen view of one picture; any click or key closes it.
void showFullScreen(const std::string& path, QWidget* parent);

}  // namespace pictra::ui
