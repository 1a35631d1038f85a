#pragma once

#include <QWidget>

class QLabel;

namespace pictra::ui {

// `Form14abbrechen`: shown during long operations; a click on the window or its
// button asks the operation to stop.
class CancelWindow : public QWidget {
    Q_OBJECT
public:
    explicit CancelWindow(QWidget* parent = nullptr);

    void begin(const QString& text);
    // Shows the text, keeps every window responsive, reports a click.
    bool step(const QString& text);
    void end();
    bool clicked() const { return m_clicked; }
    void requestCancel() { m_clicked = true; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_text = nullptr;
    bool m_clicked = false;
};

}  // namespace pictra::ui
