#include "BrowserWindow.h"

#include <QStatusBar>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "common/Placement.h"

namespace pictra::ui {

BrowserWindow::BrowserWindow(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName("FormBrowser");
    setWindowTitle("Browser");
    m_view = new QWebEngineView(this);
    m_view->setObjectName("WebBrowser1");
    setCentralWidget(m_view);
    statusBar()->setObjectName("StatusBarBrowser");
    connect(m_view->page(), &QWebEnginePage::linkHovered, this,
            [this](const QString& url) { statusBar()->showMessage(url); });
    resizeOnScreen(this, QSize(900, 700));
}

void BrowserWindow::showHtml(const QString& html) {
    m_view->setHtml(html);
    show();
    raise();
    activateWindow();
}

}  // namespace pictra::ui
