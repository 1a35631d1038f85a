#pragma once

#include <functional>
#include <string>

#include "common/Dialogs.h"
#include "html/Entities.h"
#include "shell/EditorView.h"
#include "tools/Tones.h"

// The commands of the "HTML" menu on entities and the "ASCII ..." repairs.
namespace pictra::html {

inline constexpr const char* kMsgNoSelection = "Zeilen sind noch nicht markiert!";
extern const char* const kMsgMathOn;
extern const char* const kMsgMathOff;

// "Umlaute lesbar" / "Umlaute HTML-konform": every line, the caret kept at its place in the text.
void decodeDocument(EditorView& view, EntityTable& table, Tones& tones);
void encodeDocument(EditorView& view, EntityTable& table, Tones& tones);

// "Umlaute HTML-konform (mathematischer Text)" turned on or off.
void setMathMode(bool on, EditorView& view, EntityTable& table, Dialogs& dialogs);
// The text with the marker comment added (behind "</title>" or in front).
std::string withMathMarker(const std::string& text);

// "Im Ausgewählten < und > durch « und » ersetzten" and back.
void anglesToGuillemets(EditorView& view, Dialogs& dialogs);
void guillemetsToAngles(EditorView& view, Dialogs& dialogs);

// The "ASCII ..." repairs of the whole text.
std::string atildeToAnsi(const std::string& text);
std::string quotedPrintableToAnsi(const std::string& text);
void repairDosUmlauts(EditorView& view, Tones& tones);
void repairAtilde(EditorView& view, Tones& tones);
// Followed by "Zeilen umbrechen" of the whole text.
void repairQuotedPrintable(EditorView& view, Dialogs& dialogs, Tones& tones,
                           const std::function<void(const std::string&)>& notice);

// "Zeilen umbrechen": asks for the width; the selection with paragraph joining,
// otherwise every line on its own.
void wrapLines(EditorView& view, Dialogs& dialogs, const std::function<void(const std::string&)>& notice);

}  // namespace pictra::html
