#include "TagCheck.h"

#include <algorithm>
#include <deque>
#include <map>
#include <set>

#include "common/Text.h"
#include "html/Indentation.h"

namespace pictra::html {

namespace {

// Comments become blanks, so that tags inside them do not count.
std::string blankComments(std::string text, std::string& notes) {
    for (size_t at = text.find("<!--"); at != std::string::npos; at = text.find("<!--", at)) {
        const size_t end = text.find("-->", at + 4);
        const size_t next = text.find("<!--", at + 4);
        if (end == std::string::npos || (next != std::string::npos && next < end)) {
            notes += "\r\n\r\nzu \"" + text.substr(at, 200) + "\r\" fehlt \"-->\"\r\n\r\n";
            text.replace(at, 4, "    ");
            continue;
        }
        std::fill(text.begin() + static_cast<long>(at), text.begin() + static_cast<long>(end + 3), ' ');
    }
    return text;
}

std::string bracketBalance(const std::string& text) {
    int count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<') ++count;
        if (text[i] == '>') --count;
        if (count < 0 || count > 1) {
            const bool tooManyClosing = count < 0;
            const size_t from = i >= 500 ? i - 500 : 0;
            return std::string(tooManyClosing ? "Mindestens ein \">\" zu viel! (siehe !!! ...)"
                                              : "Mindestens ein \"<\" zu viel! (siehe !!! ...)") +
                   "\r\n================\r\n..." + text.substr(from, i + 1 - from) +
                   std::string(tooManyClosing ? 23 : 22, '!') + "\r" + text.substr(i + 1, 250);
        }
    }
    return "Gratuliere: Gleichviele \"<\" und \">\"-Klammern gez\xE4" "hlt!";
}

std::string tagName(const std::string& line) {
    const size_t end = line.find_first_of(" >", 1);
    return line.substr(1, end == std::string::npos ? std::string::npos : end - 1);
}

bool ignoredName(const std::string& n) {
    for (const char* prefix : {"!", "br", "hr", "input", "img", "link", "meta"}) {
        if (text::startsWith(n, prefix)) return true;
    }
    return false;
}

bool startOf(const std::string& line, const std::string& tag) {
    return text::startsWith(line, "<" + tag) && line.size() > tag.size() + 1 &&
           (line[tag.size() + 1] == '>' || line[tag.size() + 1] == ' ');
}

bool endOf(const std::string& line, const std::string& tag) {
    return text::startsWith(line, "</" + tag) && line.size() > tag.size() + 2 &&
           (line[tag.size() + 2] == '>' || line[tag.size() + 2] == ' ');
}

}  // namespace

TagCount countTags(const std::string& document, const std::function<bool()>& keepGoing) {
    std::string notes;
    const std::string text = blankComments(document, notes);
    TagCount result;
    std::map<std::string, int> starts;
    std::map<std::string, int> ends;
    for (const std::string& line : tagTextLines(text, false)) {
        if (!keepGoing()) break;
        if (line.size() < 2 || line[0] != '<' || line.back() != '>') continue;
        if (line[1] == '/') {
            ++ends[tagName(line.substr(1))];
        } else {
            ++starts[tagName(line)];
        }
    }
    std::string deviations;
    std::string statistics;
    for (const auto& [name, count] : starts) {
        const int closing = ends.count(name) ? ends[name] : 0;
        const std::string entry = "<" + name + "> " + std::to_string(count) + " </" + name + "> " + std::to_string(closing);
        if (count != closing && !ignoredName(name)) {
            deviations += "\r" + entry;
            result.suggestion = name;
        }
        statistics += "\r" + entry;
    }
    for (const auto& [name, count] : ends) {
        if (!starts.count(name)) deviations += "\r</" + name + "> " + std::to_string(count);
    }
    deviations = "Abweichungen\r= = =" + deviations +
                 (deviations.empty() ? "\rGratuliere: keine" : "\r\xDC" "berpr\xFC" "fe mit Men\xFC \"Einzelne Tags \xFC" "berpr\xFC" "fen\"!");
    result.report = bracketBalance(text) + notes + "\r\r" + deviations + "\r\r" + "Statistik:\r" + "= = =" + statistics;
    return result;
}

std::string checkSingleTag(const std::string& text, const std::string& tag) {
    const std::vector<std::string> lines = tagTextLines(text, false);
    std::string report;
    std::string group;
    std::deque<std::string> recent;
    int k = 0;
    const auto addToGroup = [&group](const std::string& line) {
        const size_t lastBreak = group.rfind("\r");
        const size_t current = lastBreak == std::string::npos ? group.size() : group.size() - lastBreak - 1;
        if (current > 100) group += "\r   ";
        group += line;
    };
    for (const std::string& line : lines) {
        recent.push_back(line);
        if (recent.size() > 20) recent.pop_front();
        if (startOf(line, tag)) {
            ++k;
            addToGroup(k >= 2 ? "!!!" + line + "!!!" : line);
            continue;
        }
        if (endOf(line, tag)) {
            --k;
            if (k < 0) {
                report += "\r\rAbbruch, da ein </" + tag + "> zu viel:\r";
                for (const auto& r : recent) report += r + "\r";
                return "Mindestens ein Endtag </" + tag + "> ist zu viel: siehe unten.\r\r" + report;
            }
            addToGroup(line);
            if (k == 0) {
                report += group + "\r";
                group.clear();
            }
            continue;
        }
        if (k > 0) addToGroup(line);
    }
    if (k > 0) {
        return "Mindestens ein Anfangstag <" + tag + "> ist zu viel: siehe unten.\r\r" + report + "\r\r= = =\r" +
               group.substr(0, 1000) + "...\r\r= = =\r</" + tag + "> fehlt";
    }
    return "Gratuliere: Zu allen <" + tag + ">-Tags gibt es genau ein  </" + tag + ">-Endtag!\r\r" + report;
}

}  // namespace pictra::html
