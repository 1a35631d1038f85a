#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/Dialogs.h"

namespace pictra::preview {

inline constexpr const char* kDeadLinkWindowTitle = "Gibt den Quelltext des zu prüfenden Links aus";
inline constexpr const char* kDeadLinkError = "Fehler! Toter Link oder mehr als 10 Sekunden Ladezeit.";
inline constexpr const char* kDeadLinksTitle = "Tote Links (Test ein Mal pro Link pro Sitzung):";
inline constexpr const char* kDeadLinksCancelledTitle = "Tote Links:";
inline constexpr const char* kAskLinkWorks = "Funktioniert der Link?";
inline constexpr std::size_t kLinkReadLimit = 64 * 1024;
inline constexpr std::size_t kLinkShownCharacters = 500;

// What fetching one link gave.
struct LinkFetch {
    bool loaded = false;      // an answer that is no error (HTTP below 400, a readable file)
    std::string head;         // the first bytes of the answer (at most kLinkReadLimit)
    bool slow = false;        // took longer than the patient wait of about a second
};

// The dead-link check of a shown page: which links are tested, what the test
// window shows for each, and the report; the links are fetched elsewhere.
class LinkCheck {
public:
    // `tested` lives for the whole run: a link is tested once per run.
    LinkCheck(std::set<std::string>& tested, Dialogs& dialogs) : m_tested(tested), m_dialogs(dialogs) {}

    // The page's links in page order without the ones tested before, "mailto:" and script links.
    std::vector<std::string> select(const std::vector<std::string>& pageLinks);
    // Records the result of the next link in page order; a slow link is asked about.
    // False when the user cancelled.
    bool record(const std::string& link, const LinkFetch& fetch);
    // The text the test window shows for a fetch.
    static std::string shownText(const std::string& link, const LinkFetch& fetch);

    std::string report() const;
    std::string cancelledReport(const std::string& link) const;
    const std::vector<std::string>& dead() const { return m_dead; }

private:
    std::set<std::string>& m_tested;
    Dialogs& m_dialogs;
    std::vector<std::string> m_results;
    std::vector<std::string> m_dead;
};

// A link of a page made absolute against the page's address: a local page (a
// path) gives a path with "." and ".." resolved and percent escapes decoded; a web
// address keeps its scheme. Fragments are dropped; empty for links to nothing.
std::string resolveLink(const std::string& page, const std::string& link);

inline constexpr const char* kMsgSitemapStart =
    "Die Startdatei muss eine \"htm\"- oder \"php\"-Datei sein!\r\nVielleicht fehlt \"index.html\".";
inline constexpr std::size_t kSitemapMaxPages = 5000;
inline constexpr int kSitemapLevels = 5;

struct SitemapPage {
    int level;
    std::string address;
};

bool isSitemapStart(const std::string& address);

// The pages reachable from `start` within five levels, each once, at most 5,000,
// in the order found; only local ".htm"/".php" pages are read for further links.
// `read` gives a page's text, `links` a text's links, `cancelled` stops the walk.
std::vector<SitemapPage> crawlSitemap(const std::string& start, const std::string& mustContain,
                                      const std::function<std::optional<std::string>(const std::string&)>& read,
                                      const std::function<std::vector<std::string>(const std::string&)>& links,
                                      const std::function<bool()>& cancelled);
// The sitemap page (Windows-1252 lines joined with CR LF).
std::string sitemapDocument(const std::vector<SitemapPage>& pages);

}  // namespace pictra::preview
