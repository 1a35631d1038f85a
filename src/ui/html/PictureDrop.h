#pragma once

#include <QObject>
#include <functional>

namespace pictra {
class Dialogs;
namespace preview {
struct PictureSources;
}
}  // namespace pictra

namespace pictra::ui {

class PlainEditor;

// Picture files dragged from the explorer or the desktop's file manager onto an editor
// become, at the place of the drop, the element "Bild einfügen" makes. Any other drop is
// left to the editor. Lives as long as the editor it watches.
class PictureDrop : public QObject {
    Q_OBJECT
public:
    // `sources` is asked at each drop: the document's folder may have changed since.
    PictureDrop(PlainEditor& editor, Dialogs& dialogs, std::function<preview::PictureSources()> sources);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PlainEditor& m_editor;
    Dialogs& m_dialogs;
    std::function<preview::PictureSources()> m_sources;
};

}  // namespace pictra::ui
