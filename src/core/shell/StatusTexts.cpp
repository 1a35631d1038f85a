#include "StatusTexts.h"

#include <cstdio>

#include "common/Text.h"

namespace pictra::status {

std::string agePanelText(const std::string& text) {
    if (text::startsWith(text, "  ")) return {};
    if (text.empty()) return text;
    return " " + text;
}

NoticeAge ageNotice(const std::string& text) {
    if (text::startsWith(text, "**")) return {true, text};
    return {false, "*" + text};
}

std::string noticeBarText(const std::string& notice) {
    const size_t br = notice.find_first_of("\r\n");
    if (br == std::string::npos) return notice;
    return text::trim(notice.substr(0, br)) + " Näheres: Bitte hier klicken";
}

std::string noticeExplanation(const std::string& notice) {
    return notice +
           "\r\r\rHinweis zu dieser Meldung:\rIm Fenster wird dieser Hinweis ca. 3 Sekunden eingeblendet.\r"
           "Längere Meldungen zeigt die Leiste nur mit ihrer ersten Zeile; ein Klick auf die Leiste zeigt sie "
           "ganz.";
}

std::string germanDateTime(int year, int month, int day, int weekday, int hour, int minute) {
    static const char* const names[] = {"Montag",  "Dienstag", "Mittwoch", "Donnerstag",
                                         "Freitag", "Samstag",  "Sonntag"};
    const char* name = weekday >= 1 && weekday <= 7 ? names[weekday - 1] : "";
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%s, %d.%02d.%04d  %02d:%02d", name, day, month, year, hour, minute);
    return buffer;
}

bool takeAlarm(std::string& alarmTimes, const std::string& now) {
    const size_t at = alarmTimes.find(now);
    if (now.empty() || at == std::string::npos) return false;
    alarmTimes = text::trim(alarmTimes.substr(0, at) + alarmTimes.substr(at + now.size()));
    return true;
}

}  // namespace pictra::status
