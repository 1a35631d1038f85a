#pragma once

#include <QMainWindow>

class QWebEngineView;

namespace pictra::ui {

// A browser window (caption "Browser") on Qt WebEngine.
class BrowserWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit BrowserWindow(QWidget* parent = nullptr);

    void showHtml(const QString& html);
    QWebEngineView* view() const { return m_view; }

private:
    QWebEngineView* m_view = nullptr;
};

}  // namespace pictra::ui
