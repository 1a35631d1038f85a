#pragma once

#include <QFrame>
#include <functional>

#include "pictures/Viewer.h"

class QLabel;
class QLineEdit;
class QSpinBox;

namespace pictra::ui {

// `Pgross` ("Bild in anderer Größe zeigen/speichern"): width, height and percent
// that follow each other from the source size.
class SizePanel : public QFrame {
    Q_OBJECT
public:
    struct Actions {
        std::function<void(pictures::viewer::Size)> show;
        std::function<void(pictures::viewer::Size)> saveSo;
    };
    SizePanel(QWidget* parent, Actions actions);

    void open(pictures::viewer::Size source, pictures::viewer::Size display);
    QSpinBox* widthBox() const { return m_width; }
    QSpinBox* heightBox() const { return m_height; }
    QLineEdit* percentBox() const { return m_percent; }

private:
    void apply(const pictures::viewer::PanelSize& size, QWidget* edited);
    pictures::viewer::Size chosen() const;

    Actions m_actions;
    pictures::viewer::Size m_source;
    QLabel* m_caption = nullptr;
    QSpinBox* m_width = nullptr;
    QSpinBox* m_height = nullptr;
    QLineEdit* m_percent = nullptr;
    bool m_updating = false;
};

}  // namespace pictra::ui
