#include "PlainTextPage.h"

#include "common/Text.h"

namespace pictra::preview {

bool isHtmlText(const std::string& text) { return text.find("<html") != std::string::npos; }

std::string plainTextPage(const std::string& text, long long fontSize, EntityTable& entities) {
    const std::vector<std::string> lines = text::splitLines(text);
    bool anyBlank = false;
    for (const auto& line : lines) anyBlank = anyBlank || text::trim(line).empty();

    std::string page =
        "<html>\r\n  <head>\r\n    <meta http-equiv=\"content-type\" content=\"text/html; charset=iso-8859-1\">\r\n"
        "    <title>reiner Text</title>\r\n    <style type=\"text/css\">\r\n      body{font-size: " +
        std::to_string(fontSize) +
        "pt; font-family:Arial,Helvetica,Verdana,sans-serif;margin-left:2cm; margin-right: 2cm;}\r\n"
        "    </style>\r\n  </head>\r\n<body>\r\n";
    bool lastWasBreak = false;
    for (const auto& line : lines) {
        if (text::trim(line).empty()) {
            if (!lastWasBreak) page += "<br><br>\r\n";
            lastWasBreak = true;
            continue;
        }
        lastWasBreak = false;
        std::string encoded = entities.encode(line);
        if (line.find("----") != std::string::npos || line.find("- - -") != std::string::npos) {
            encoded = "<br>" + encoded + "<br>";
        } else if (!anyBlank || line.front() == ' ') {
            encoded = "<br>" + encoded;
        }
        page += encoded + "\r\n";
    }
    page += "</body>\r\n</html>\r\n";
    return page;
}

}  // namespace pictra::preview
