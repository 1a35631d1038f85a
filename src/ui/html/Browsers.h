#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

#include "html/BrowserLinkCheck.h"
#include "html/BrowserWindow.h"
#include "html/preview/FullPreview.h"
#include "shell/AppContext.h"

namespace pictra::ui {

// The browser windows of the run: any number, one of them current, and the
// full preview that shows documents in them.
class Browsers : public QObject, public preview::BrowserList {
    Q_OBJECT
public:
    Browsers(AppContext& context, EntityTable& entities, std::unique_ptr<preview::PreviewHost> host,
             BrowserHooks hooks, QWidget* windowParent);
    ~Browsers() override;

    std::vector<preview::Browser*> browsers() override;
    preview::Browser* current() override { return currentWindow(); }
    void makeCurrent(preview::Browser& browser) override;
    preview::Browser& create() override { return *createWindow(); }

    BrowserWindow* currentWindow();
    BrowserWindow* createWindow();
    // The current window, made when there is none.
    BrowserWindow* currentOrNew();
    std::vector<BrowserWindow*> windows();
    int count() { return static_cast<int>(windows().size()); }

    preview::FullPreview& preview() { return *m_preview; }
    preview::PreviewFiles& previewFiles() { return *m_files; }
    // The links tested in this run: each is tested once per run.
    std::set<std::string>& testedLinks() { return m_testedLinks; }
    LinkFetchLimits linkLimits;

private:
    AppContext& m_context;
    std::unique_ptr<preview::PreviewHost> m_host;
    BrowserHooks m_hooks;
    QWidget* m_windowParent;
    std::vector<QPointer<BrowserWindow>> m_windows;
    QPointer<BrowserWindow> m_current;
    std::unique_ptr<preview::PreviewFiles> m_files;
    std::unique_ptr<preview::FullPreview> m_preview;
    std::set<std::string> m_testedLinks;
};

}  // namespace pictra::ui
