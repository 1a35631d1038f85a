#pragma once

#include <string>

// Texts of the status and notice bars and how they age with the main timer.
namespace pictra::status {

// Panel 3 at a timer tick: a text beginning with two blanks is cleared, any
// other non-empty text gets one blank in front.
std::string agePanelText(const std::string& text);

// Notice bar at a timer tick: hidden once its text begins with "**", otherwise
// one more "*" in front.
struct NoticeAge {
    bool hide = false;
    std::string text;
};
NoticeAge ageNotice(const std::string& text);

// What the notice bar shows of a notice: a one-line text unchanged, otherwise
// the first line trimmed and " Näheres: Bitte hier klicken".
std::string noticeBarText(const std::string& notice);

// The full notice with the fixed explanation, shown when the bar is clicked.
std::string noticeExplanation(const std::string& notice);

// "Donnerstag, 10.12.2026  09:05": weekday 1 = Monday ... 7 = Sunday.
std::string germanDateTime(int year, int month, int day, int weekday, int hour, int minute);

// The alarm clock: when "hh:mm" occurs in the alarm times, it is removed (the
// rest trimmed) and true returned.
bool takeAlarm(std::string& alarmTimes, const std::string& now);

}  // namespace pictra::status
