#include "pictures/batch/GalleryPages.h"

#include <algorithm>
#include <cstdlib>

#include "common/Codec.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "pictures/PictureNames.h"

namespace pictra::pictures::batch {

namespace {

using codec::cp1252ToUtf8;
using codec::unicodeToCp1252;
using codec::utf8ToCp1252;

constexpr const char* kDoctype =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">";

std::string upperAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

std::string baseOf(const std::string& name) {
    return name.substr(0, name.size() - pathnames::extensionOf(name).size());
}

// The length of the UTF-8 sequence starting at `i`, 0 when it is none.
std::size_t sequenceAt(const std::string& s, std::size_t i, char32_t& codePoint) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > s.size())
        return 0;
    codePoint = length == 1 ? c : length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(s[i + k]);
        if ((next >> 6) != 2)
            return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    return length;
}

void percent(std::string& out, unsigned char byte) {
    static const char* const hex = "0123456789ABCDEF";
    out += '%';
    out += hex[byte >> 4];
    out += hex[byte & 15];
}

bool escapedEntity(std::string& out, char c) {
    switch (c) {
        case '&':
            out += "&amp;";
            return true;
        case '"':
            out += "&quot;";
            return true;
        case '<':
            out += "&lt;";
            return true;
        default:
            return false;
    }
}

std::string sizeAttributes(const GalleryEntry& entry) {
    if (!entry.size)
        return {};
    std::string alt = baseOf(entry.small.substr(3));
    if (!alt.empty() && alt[0] >= 'a' && alt[0] <= 'z')
        alt[0] = static_cast<char>(alt[0] - 'a' + 'A');
    return " width=" + std::to_string(entry.size->width) + " height=" + std::to_string(entry.size->height) + " alt=\"" +
           pageText(alt) + "\"";
}

std::string entryLine(const GalleryEntry& entry, const GalleryOptions& options) {
    const std::string target = options.navigation ? entry.page : entry.large;
    return "<a href=\"" + urlValue(target) + "\">" + "<img src=\"" + urlValue(entry.small) + "\"" +
           sizeAttributes(entry) + ">" + "</a>";
}

std::string overviewHead(const GalleryOptions& options, const std::string& date) {
    const std::string heading = pageText(options.heading);
    std::string head =
        std::string(kDoctype) + "\r\n<html>\r\n  <head>\r\n    <title>" + heading + " (" + date + ")</title>\r\n";
    head += "    <meta http-equiv=content-type content=\"text/html; charset=iso-8859-1\">\r\n";
    head += "    <meta name=\"robots\" content=\"nofollow\">\r\n";
    head +=
        "     <style type=\"text/css\">\r\n"
        "    body { font-family: \"Segoe UI\", Arial, Helvetica, sans-serif; margin-left: 10%; margin-right: 10%; }\r\n"
        "    a:link { color: #0000FF; }\r\n"
        "    a:visited { color: #660099; }\r\n"
        "    a:hover { background-color: #d60093; color: #FFFFFF; border-bottom: 1px dotted #FFFFFF; }\r\n"
        "    table { border-collapse: collapse; }\r\n"
        "    h1, h2, h3, h4, h5, h6 { font-family: Tahoma, Arial, Helvetica, sans-serif; margin-top: 0.5em; "
        "margin-bottom: 0.5em; color: #003399; }\r\n"
        "    h2, h3, h4, h5, h6 { font-weight: bold; }\r\n"
        "    img { border: 0; }\r\n"
        "  </style>\r\n";
    head += "  </head>\r\n<body>\r\n<table class=\"o\"><tr><td>\r\n";
    if (options.logo)
        head += std::string("<img src=\"../") + kLogoName + "\" width=\"88\" height=\"98\" alt=\"Wappen\">";
    head += "</td>\r\n<td>&nbsp;&nbsp;&nbsp;&nbsp;</td>\r\n<td><a href=\"../index.html\">&uarr;Start</a>\r\n";
    head += "&nbsp; &nbsp; &nbsp; <a href=\"../bilder.html\">&uarr;Bilder</a>\r\n\r\n";
    head += "<h1>" + heading + "</h1>\r\n" + date + "\r\n</td></tr></table>\r\n<hr>\r\n\r\n\r\n";
    head += "<div  style=\"margin-left: -10%;margin-right: -10%;text-align:center\">\r\n";
    if (options.navigation) {
        head +=
            "   <div  style=\"font-size:0.8em;\">Klick auf kleines Bild vergrößert es. Erst dann drucken!\r\n"
            "   <a href=\"zzzz.html\">Weiter: Klick auf großes Bild.</a></div><br>";
    } else {
        head += "Klicken Sie auf auf das Bild, um es zu vergrößern. <br>";
    }
    return head;
}

std::string arrow(const std::string& href, const char* image, const char* alt) {
    const std::string img = std::string("<img src=\"") + image + "\" width=\"24\" height=\"14\" alt=\"" + alt + "\">";
    return href.empty() ? img : "<a href=\"" + urlValue(href) + "\">" + img + "</a>";
}

}  // namespace

bool isSmallPicture(const std::string& name) {
    return text::startsWith(name, "zz_") && isPictureFile(name);
}

bool isGalleryOriginal(const std::string& name) {
    // A ".jp0" is the caption beside a picture, no picture of its own.
    return !text::startsWith(name, "zz_") && !text::startsWith(name, "zzz") && isPictureFile(name) &&
           pathnames::lowerExtension(name) != ".jp0";
}

std::string smallNameOf(const std::string& original) {
    return "zz_" + baseOf(original) + ".jpg";
}

std::vector<GalleryEntry> galleryEntries(const std::vector<std::string>& sortedNames,
                                         const std::function<std::optional<Size>(const std::string&)>& sizeOf) {
    std::vector<GalleryEntry> entries;
    for (const auto& name : sortedNames) {
        if (!isSmallPicture(name))
            continue;
        const std::string wanted = name.substr(3);
        const std::string base = baseOf(wanted);
        std::string large;
        int rank = 4;
        for (const auto& candidate : sortedNames) {
            if (!isGalleryOriginal(candidate) || baseOf(candidate) != base)
                continue;
            const int r = candidate == wanted ? 0 : pathnames::lowerExtension(candidate) == ".gif" ? 1 : 2;
            if (r < rank) {
                rank = r;
                large = candidate;
            }
        }
        if (large.empty())
            continue;
        entries.push_back({name, large, "zzz_" + baseOf(large) + ".html", sizeOf ? sizeOf(name) : std::nullopt});
    }
    return entries;
}

std::string urlValue(const std::string& name) {
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        char32_t codePoint = 0;
        const std::size_t length = sequenceAt(name, i, codePoint);
        if (length == 0) {
            percent(out, static_cast<unsigned char>(name[i]));
            ++i;
            continue;
        }
        const char c = name[i];
        if (length == 1 && escapedEntity(out, c)) {
        } else if (length == 1 && (c == '#' || c == '?' || c == '%' || static_cast<unsigned char>(c) < 0x20)) {
            percent(out, static_cast<unsigned char>(c));
        } else if (length > 1 && unicodeToCp1252(codePoint) < 0) {
            for (std::size_t k = 0; k < length; ++k) percent(out, static_cast<unsigned char>(name[i + k]));
        } else {
            out.append(name, i, length);
        }
        i += length;
    }
    return out;
}

std::string pageText(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t codePoint = 0;
        const std::size_t length = sequenceAt(utf8, i, codePoint);
        if (length == 0) {
            // A byte that is no UTF-8 is taken as the Windows-1252 character it would be.
            out += cp1252ToUtf8(std::string(1, utf8[i]));
            ++i;
            continue;
        }
        if (length == 1 && escapedEntity(out, utf8[i])) {
        } else if (length > 1 && unicodeToCp1252(codePoint) < 0) {
            out += "&#" + std::to_string(static_cast<unsigned long>(codePoint)) + ";";
        } else {
            out.append(utf8, i, length);
        }
        i += length;
    }
    return out;
}

std::string labelOf(const std::string& largeName) {
    std::string label = text::replaceAll(upperAscii(baseOf(largeName)), "_", " ");
    label = text::replaceAll(label, "AE", "Ä");
    label = text::replaceAll(label, "OE", "Ö");
    return text::replaceAll(label, "UE", "Ü");
}

std::string proposedHeading(const std::string& largeName) {
    return text::replaceAll(upperAscii(baseOf(largeName)), "_", " ");
}

std::string germanShortDate(int year, int month, int day) {
    auto two = [](int v) { return std::string(v < 10 ? "0" : "") + std::to_string(v); };
    return two(day) + "." + two(month) + "." + std::to_string(year);
}

std::string overviewPage(const std::vector<GalleryEntry>& entries, const GalleryOptions& options,
                         const std::string& date) {
    std::vector<std::string> lines;
    if (options.labels && options.perRow > 0) {
        const auto n = static_cast<std::size_t>(options.perRow);
        for (std::size_t first = 0; first < entries.size(); first += n) {
            const std::size_t end = std::min(entries.size(), first + n);
            std::string table = "<table border=" + std::to_string(options.border) + ">\r\n  <tr>";
            for (std::size_t i = first; i < end; ++i) table += "<th>" + pageText(labelOf(entries[i].large)) + "</th>";
            table += "  </tr>\r\n  <tr>\r\n";
            for (std::size_t i = first; i < end; ++i)
                table += "    <td>" + entryLine(entries[i], options) + "</td>\r\n";
            table += "  </tr>\r\n</table>\r\n<br>";
            lines.push_back(std::move(table));
        }
    } else {
        for (const auto& entry : entries) lines.push_back(entryLine(entry, options));
    }
    const std::string page =
        overviewHead(options, date) + "\r\n" + text::joinLines(lines) + "\r\n</div>\r\n</body>\r\n</html>";
    return utf8ToCp1252(page);
}

namespace {

std::string pageWith(const std::string& large, const std::string& previous, const std::string& next,
                     const std::string& pictureTarget, const GalleryOptions& options, const std::string& heading) {
    const std::string height =
        options.navigationHeight > 9 ? " height=\"" + std::to_string(options.navigationHeight) + "\"" : std::string();
    const std::string pictureLine = "<a href=\"" + urlValue(pictureTarget) + "\">" + "<img src=\"" + urlValue(large) +
                                    "\" " + height + " alt=\"\"></a>";
    std::string page = std::string(kDoctype) +
                       "\r\n<html>\r\n  <head><title>Klick auf Bild: nächstes Bild. Leertaste: Navigation (siehe "
                       "unten)</title></head>\r\n<body>\r\n";
    page += "  <center>\r\n" + (heading.empty() ? std::string() : pageText(heading) + "<br>") + "\r\n";
    page += "  " + pictureLine + "<br>\r\n";
    page += "  <a href=\"" + urlValue(large) + "\">o</a> &nbsp; &nbsp; &nbsp; " +
            arrow(previous, "zzzweiter_l.gif", "Bild zurück") + "\r\n";
    page += "  <a href=\"" + urlValue(options.name + ".html") +
            "\"><img src=\"zzzweiter_o.gif\" width=\"14\" height=\"16\" alt=\"Zurück zur Übersicht\"></a>\r\n";
    page += "  " + arrow(next, "zzzweiter_r.gif", "Bild vor") + "  </center>\r\n</body>\r\n</html>";
    return utf8ToCp1252(page);
}

}  // namespace

std::string picturePage(const std::vector<GalleryEntry>& entries, std::size_t index, const GalleryOptions& options,
                        const std::string& heading) {
    const std::string previous = index > 0 ? entries[index - 1].page : std::string();
    const std::string next = index + 1 < entries.size() ? entries[index + 1].page : std::string();
    return pageWith(entries[index].large, previous, next, next.empty() ? options.name + ".html" : next, options,
                    heading);
}

std::vector<std::string> pageOrder(const std::string& overview) {
    std::vector<std::string> pages;
    std::size_t start = 0;
    while (start < overview.size()) {
        std::size_t end = overview.find('\n', start);
        if (end == std::string::npos)
            end = overview.size();
        const std::string line = overview.substr(start, end - start);
        start = end + 1;
        const std::size_t from = line.find("zzz_");
        const std::size_t html = from == std::string::npos ? from : line.find(".html", from);
        if (html != std::string::npos)
            pages.push_back(line.substr(from, html + 5 - from));
    }
    return pages;
}

std::optional<std::string> rebuiltPage(const std::string& oldPage, const std::string& pageName,
                                       const std::string& previous, const std::string& next,
                                       const GalleryOptions& options) {
    const std::string base = pageName.substr(4, pageName.size() - 4 - 5);
    const std::string key = "<img src=\"" + codec::utf8ToCp1252(urlValue(base));
    const std::size_t at = oldPage.find(key);
    if (at == std::string::npos)
        return std::nullopt;
    const std::size_t srcStart = at + 10;
    const std::size_t srcEnd = oldPage.find('"', srcStart);
    if (srcEnd == std::string::npos)
        return std::nullopt;
    // The page keeps the height its picture was shown at.
    GalleryOptions kept = options;
    kept.navigationHeight = 0;
    const std::size_t lineEnd = oldPage.find('\n', srcEnd);
    const std::string rest =
        oldPage.substr(srcEnd, lineEnd == std::string::npos ? std::string::npos : lineEnd - srcEnd);
    const std::size_t height = rest.find(" height=\"");
    if (height != std::string::npos)
        kept.navigationHeight = std::atoi(rest.c_str() + height + 9);
    const std::string large = codec::cp1252ToUtf8(oldPage.substr(srcStart, srcEnd - srcStart));
    return pageWith(large, previous, next, next, kept, "");
}

std::string instructionPage() {
    const std::string page =
        std::string(kDoctype) +
        "\r\n<html>\r\n  <head><title> Anleitung </title></head>\r\n<body>\r\n"
        "<a href=\"javascript:history.back()\">zur&uuml;ck</a>\r\n"
        "<h1>Anleitung</h1>\r\n"
        "<p>Die &Uuml;bersicht zeigt kleine Bilder. Ein Klick auf ein kleines Bild zeigt es gro&szlig;.</p>\r\n"
        "<table border=1>\r\n"
        "  <tr><td><img src=\"zzzweiter_l.gif\" width=\"24\" height=\"14\" alt=\"Bild zurück\"></td>"
        "<td>voriges Bild</td></tr>\r\n"
        "  <tr><td><img src=\"zzzweiter_o.gif\" width=\"14\" height=\"16\" alt=\"Zurück zur Übersicht\"></td>"
        "<td>zur&uuml;ck zur &Uuml;bersicht</td></tr>\r\n"
        "  <tr><td><img src=\"zzzweiter_r.gif\" width=\"24\" height=\"14\" alt=\"Bild vor\"></td>"
        "<td>n&auml;chstes Bild</td></tr>\r\n"
        "  <tr><td>o</td><td>das Bild in Originalgr&ouml;&szlig;e (am besten zum Drucken)</td></tr>\r\n"
        "</table>\r\n"
        "<p>Ein Klick auf das gro&szlig;e Bild zeigt das n&auml;chste Bild.</p>\r\n"
        "</body>\r\n</html>";
    return utf8ToCp1252(page);
}

}  // namespace pictra::pictures::batch
