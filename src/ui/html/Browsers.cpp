#include <QDate>
#include <cstdlib>

#include "html/Browsers.h"

namespace pictra::ui {

Browsers::Browsers(AppContext& context, EntityTable& entities, std::unique_ptr<preview::PreviewHost> host,
                   BrowserHooks hooks, QWidget* windowParent)
    : QObject(windowParent), m_context(context), m_host(std::move(host)), m_hooks(std::move(hooks)),
      m_windowParent(windowParent) {
    const QDate today = QDate::currentDate();
    m_files = std::make_unique<preview::PreviewFiles>(context.paths.binFolder(),
                                                      bin::Date{today.year(), today.month(), today.day()});
    m_preview = std::make_unique<preview::FullPreview>(*m_host, *this, context.dialogs, context.store, entities,
                                                       *m_files);
    const char* path = std::getenv("PATH");
    m_preview->setSearchPath(path ? path : "/usr/local/bin:/usr/bin:/bin");
}

Browsers::~Browsers() = default;

std::vector<BrowserWindow*> Browsers::windows() {
    std::vector<BrowserWindow*> open;
    std::erase_if(m_windows, [](const QPointer<BrowserWindow>& w) { return w.isNull(); });
    for (const auto& w : m_windows) open.push_back(w.data());
    return open;
}

std::vector<preview::Browser*> Browsers::browsers() {
    std::vector<preview::Browser*> all;
    for (BrowserWindow* w : windows()) all.push_back(w);
    return all;
}

BrowserWindow* Browsers::currentWindow() {
    if (m_current) return m_current;
    const auto open = windows();
    m_current = open.empty() ? nullptr : open.back();
    return m_current;
}

void Browsers::makeCurrent(preview::Browser& browser) {
    for (BrowserWindow* w : windows()) {
        if (w == &browser) m_current = w;
    }
}

BrowserWindow* Browsers::createWindow() {
    BrowserHooks hooks = m_hooks;
    hooks.newWindow = [this] { return createWindow(); };
    hooks.activated = [this](BrowserWindow* w) { m_current = w; };
    auto* window = new BrowserWindow(std::move(hooks), m_windowParent);
    m_windows.emplace_back(window);
    m_current = window;
    return window;
}

BrowserWindow* Browsers::currentOrNew() {
    if (BrowserWindow* w = currentWindow()) return w;
    return createWindow();
}

}  // namespace pictra::ui
