#pragma once

#include <QFont>

#include "shell/Rtf.h"

class QTextDocument;

namespace pictra::ui {

// The editor's formatted text as the RTF model sees it, and back.
rtf::Document toRtfDocument(const QTextDocument& document, const QFont& defaultFont);
void fromRtfDocument(const rtf::Document& rich, QTextDocument& document);

}  // namespace pictra::ui
