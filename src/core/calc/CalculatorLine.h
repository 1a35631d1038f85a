#pragma once

#include <string>

#include "calc/Evaluator.h"
#include "shell/EditorView.h"

// The calculator line ("Rechenblatt"): summing numbers that stand in the text
// with F4/F5 and completing a selected expression with F6.
namespace pictra::calc {

struct CalculatorLine {
    Value sum = 0;
    std::string lastValue;          // ERechnendazu
    std::string sumText = "0";      // ERechnenSummeerlauf
    std::string averageText;        // EDu
    std::string countText = "0";    // Ldu
};

// The number or expression an F4/F5 step takes from the text behind the caret.
std::string stepExpression(const std::string& lineFromCaret);

// F4 (sign +1) and F5 (sign -1): adds the value behind the caret and steps down a line.
void addFromText(CalculatorLine& line, EditorView& view, int sign);

// "Löschen".
void reset(CalculatorLine& line);

// "Einfügen": the sum as it is inserted ("### ### ##0.##", with cents "### ### ##0.00").
std::string insertText(const CalculatorLine& line);

// F6: what replaces the selection.
std::string completeExpression(const std::string& selection);
void completeSelection(EditorView& view);

extern const char* const kStepHelp;
extern const char* const kCompleteHelp;
extern const char* const kExampleSheet;
extern const char* const kDialogHelp;
inline constexpr const char* kMsgBadExpression =
    "Rechneausdruck fehlerhaft.\rEr kann zum Beispiel folgendermaßen aussehen:\r2,49+5,38*(4,79+1)+cos(Pi/4)";

}  // namespace pictra::calc
