#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <string>

#include "common/Dialogs.h"

// The boundary between the core's strings and Qt's.
namespace pictra::ui {

// UTF-8 (messages, settings) to and from QString; "\r" in messages becomes a line break.
inline QString q(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string u(const QString& s) { return s.toStdString(); }
QString message(const std::string& utf8);

// Windows-1252 document text to and from QString. `lost` receives the characters
// Windows-1252 cannot hold.
QString fromCp1252(const std::string& cp1252);
// The same for a text with CR LF line ends, which the editor keeps as "\n".
QString fromCp1252Lines(const std::string& cp1252);
std::string toCp1252(const QString& s, QString* lost = nullptr);
// As toCp1252, but a character Windows-1252 cannot hold becomes its numeric
// reference "&#NNNN;", so commands that rewrite text never lose it.
std::string toCp1252Referenced(const QString& s);

// Windows colour numbers: red in the low byte, blue in the high byte.
QColor colourFromWindows(std::uint32_t value);
std::uint32_t colourToWindows(const QColor& colour);

QFont fontFromSpec(const FontSpec& spec);
FontSpec specFromFont(const QFont& font);

}  // namespace pictra::ui
