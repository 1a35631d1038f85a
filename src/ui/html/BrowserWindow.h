#pragma once

#include <QMainWindow>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "html/preview/Browser.h"

class QLineEdit;
class QMenu;
class QPrinter;
class QToolButton;
class QWebEngineView;

namespace pictra::ui {

class BrowserWindow;

// What a browser window asks of the program around it.
struct BrowserHooks {
    // A link that opens a new window gets one more browser window of the list.
    std::function<BrowserWindow*()> newWindow;
    std::function<void(BrowserWindow*)> activated;
    std::function<std::vector<std::string>()> favourites;
    std::function<void(const std::string&)> addFavourite;
    // "Nächste lokale Datei lesen" (true) and "Vorhergehende lokale Datei lesen".
    std::function<void(BrowserWindow&, bool)> neighbourFile;
    std::function<void(BrowserWindow&)> deadLinks;
    std::function<void(BrowserWindow&)> sitemap;
};

// A browser window `FormBrowser` (caption "Browser"): the address field `Edit_url`,
// a back button, the web view and the status bar; menus "Datei", "Favoriten" and "Extras".
class BrowserWindow : public QMainWindow, public preview::Browser {
    Q_OBJECT
public:
    explicit BrowserWindow(BrowserHooks hooks, QWidget* parent = nullptr);
    ~BrowserWindow() override;

    void navigate(const std::string& target) override;
    bool reload() override;
    void blank() override;
    void back() override;
    void forward() override;
    void print() override;
    std::string address() const override;
    void setAddress(const std::string& address) override;
    void present() override;
    void focusAddress() override;

    void printPreview();
    // Starts the page's renderer without showing anything, so the first page comes faster.
    void warmUp();
    void showHtml(const QString& html);
    // Runs `then` once the page has loaded (at once when it has).
    void whenLoaded(std::function<void()> then);
    bool loading() const { return m_loading; }

    QWebEngineView* view() const { return m_view; }
    QLineEdit* addressField() const { return m_address; }

protected:
    bool event(QEvent* event) override;

private:
    void buildMenus();
    void addressEntered();
    void urlChanged(const QUrl& url);
    void loadEnded(bool ok);

    BrowserHooks m_hooks;
    QWebEngineView* m_view = nullptr;
    QLineEdit* m_address = nullptr;
    QToolButton* m_backButton = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    // The page the program itself loaded: its address field may name another file
    // (the document of an include page), so only a followed link rewrites it.
    QUrl m_loadedByProgram;
    bool m_loading = false;
    bool m_rendererGone = false;
    std::vector<std::function<void()>> m_afterLoad;
};

// The status text of a window whose page ended the browser's page process.
extern const char* const kRendererGone;

// The address of a local file or a web address as a URL.
QUrl browserUrl(const std::string& target);

}  // namespace pictra::ui
