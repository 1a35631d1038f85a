#include "LinkCheck.h"

#include <deque>

#include "common/CaseFold.h"
#include "common/Codec.h"
#include "common/PathNames.h"
#include "common/Text.h"

namespace pictra::preview {

namespace {

bool containsIgnoringCase(const std::string& s, const std::string& part) { return casefold::containsUtf8(s, part); }

// The scheme of an address ("http", "file", "mailto"); empty for a path.
std::string schemeOf(const std::string& link) {
    size_t i = 0;
    while (i < link.size() && (std::isalnum(static_cast<unsigned char>(link[i])) || link[i] == '+' ||
                               link[i] == '-' || link[i] == '.')) {
        ++i;
    }
    if (i < 2 || i >= link.size() || link[i] != ':' || !std::isalpha(static_cast<unsigned char>(link[0]))) return {};
    return text::toLowerAscii(link.substr(0, i));
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percentDecoded(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && hexValue(s[i + 1]) >= 0 && hexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(s[i + 1]) * 16 + hexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// "/a/./b/../c" → "/a/c"; a ".." above the root stays at the root.
std::string withoutDotSegments(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (const auto& p : parts) out += "/" + p;
    if (out.empty() || (text::endsWith(path, "/") && !parts.empty())) out += "/";
    return out;
}

}  // namespace

std::vector<std::string> LinkCheck::select(const std::vector<std::string>& pageLinks) {
    std::vector<std::string> chosen;
    std::set<std::string> onPage;
    for (const auto& link : pageLinks) {
        if (link.empty() || m_tested.count(link) || containsIgnoringCase(link, "mailto:")) continue;
        if (link.find("script") != std::string::npos) continue;
        if (onPage.insert(link).second) chosen.push_back(link);
    }
    return chosen;
}

bool LinkCheck::record(const std::string& link, const LinkFetch& fetch) {
    m_tested.insert(link);
    if (!fetch.loaded) {
        m_dead.push_back(link + " " + kDeadLinkError);
        return true;
    }
    if (!fetch.slow) return true;
    Answer answer;
    {
        CancelModeScope scope(m_dialogs);
        answer = m_dialogs.ask(kAskLinkWorks);
    }
    if (answer == Answer::Cancel) return false;
    m_results.push_back((answer == Answer::Yes ? "OK: " : "Nicht OK !!! : ") + link);
    return true;
}

std::string LinkCheck::shownText(const std::string& link, const LinkFetch& fetch) {
    if (!fetch.loaded) return kDeadLinkError;
    if (containsIgnoringCase(link, ".pdf")) return "PDF";
    return fetch.head.substr(0, kLinkShownCharacters) + "\r\n...";
}

std::string LinkCheck::report() const {
    std::vector<std::string> lines = m_results;
    lines.insert(lines.end(), m_dead.begin(), m_dead.end());
    return text::joinLines(lines);
}

std::string LinkCheck::cancelledReport(const std::string& link) const {
    return report() + "\r\nAbgebrochen bei: " + link;
}

std::string resolveLink(const std::string& page, const std::string& rawLink) {
    std::string link = text::trim(rawLink);
    if (const size_t hash = link.find('#'); hash != std::string::npos) link.resize(hash);
    if (link.empty()) return {};
    const std::string scheme = schemeOf(link);
    if (scheme == "file") {
        std::string path = link.substr(5);
        if (text::startsWith(path, "//")) path = path.substr(path.find('/', 2) == std::string::npos ? 2 : path.find('/', 2));
        return withoutDotSegments(percentDecoded(path.substr(0, path.find('?'))));
    }
    if (!scheme.empty()) return link;
    const std::string pageScheme = schemeOf(page);
    if (!pageScheme.empty()) {
        const size_t hostStart = page.find("//");
        const size_t pathStart = hostStart == std::string::npos ? std::string::npos : page.find('/', hostStart + 2);
        const std::string origin = pathStart == std::string::npos ? page : page.substr(0, pathStart);
        if (text::startsWith(link, "//")) return pageScheme + ":" + link;
        if (link.front() == '/') return origin + withoutDotSegments(link);
        const std::string pagePath = pathStart == std::string::npos ? "/" : page.substr(pathStart);
        const std::string folder = pagePath.substr(0, pagePath.find_last_of('/') + 1);
        return origin + withoutDotSegments(folder + link);
    }
    link = percentDecoded(link.substr(0, link.find('?')));
    if (link.front() == '/') return withoutDotSegments(link);
    return withoutDotSegments(pathnames::folderOf(page) + "/" + link);
}

bool isSitemapStart(const std::string& address) {
    const std::string ext = pathnames::lowerExtension(address);
    return ext == ".htm" || ext == ".html" || ext == ".php";
}

namespace {

bool isLocalPage(const std::string& address) { return schemeOf(address).empty() && isSitemapStart(address); }

}  // namespace

std::vector<SitemapPage> crawlSitemap(const std::string& start, const std::string& mustContain,
                                      const std::function<std::optional<std::string>(const std::string&)>& read,
                                      const std::function<std::vector<std::string>(const std::string&)>& links,
                                      const std::function<bool()>& cancelled) {
    std::vector<SitemapPage> pages{{0, start}};
    std::set<std::string> seen{start};
    std::deque<SitemapPage> queue{{0, start}};
    while (!queue.empty() && pages.size() < kSitemapMaxPages) {
        if (cancelled()) break;
        const SitemapPage page = queue.front();
        queue.pop_front();
        if (page.level + 1 >= kSitemapLevels || !isLocalPage(page.address)) continue;
        const auto content = read(page.address);
        if (!content) continue;
        for (const auto& raw : links(*content)) {
            const std::string address = resolveLink(page.address, raw);
            if (address.empty() || containsIgnoringCase(address, "mailto:") ||
                address.find("script") != std::string::npos) {
                continue;
            }
            if (!mustContain.empty() && address.find(mustContain) == std::string::npos) continue;
            if (!seen.insert(address).second) continue;
            pages.push_back({page.level + 1, address});
            queue.push_back(pages.back());
            if (pages.size() >= kSitemapMaxPages) break;
        }
    }
    return pages;
}

std::string sitemapDocument(const std::vector<SitemapPage>& pages) {
    std::vector<std::string> lines = {
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"",
        "        \"http://www.w3.org/TR/html4/loose.dtd\">",
        "<html>",
        "  <head>",
        "    <link rel=\"stylesheet\" type=\"text/css\" href=\"css1.css\">",
        "    <title> Sitemap </title>",
        "  </head>",
        "<body>",
        "   <h2  align=center>Sitemap</h2>",
        "<pre>"};
    const std::string folder = pages.empty() ? std::string() : pathnames::folderOf(pages.front().address) + "/";
    for (const auto& page : pages) {
        std::string shown = page.address;
        if (schemeOf(shown).empty() && !folder.empty() && text::startsWith(shown, folder)) shown = shown.substr(folder.size());
        const std::string cp1252 = codec::utf8ToCp1252(shown);
        lines.push_back(std::string(static_cast<size_t>(page.level) * 4, ' ') + "<a href=\"" + cp1252 + "\">" + cp1252 +
                        "</a>");
    }
    lines.push_back("</pre>");
    return text::joinLines(lines) + "\r\n\r\n</body>\r\n</html>";
}

}  // namespace pictra::preview
