#include "UiText.h"

#include "common/LargeBuffer.h"

#include "common/Codec.h"

namespace pictra::ui {

QString message(const std::string& utf8) {
    QString s = q(utf8);
    s.replace("\r\n", "\n");
    s.replace('\r', '\n');
    return s;
}

QString fromCp1252(const std::string& cp1252) {
    QString s(static_cast<qsizetype>(cp1252.size()), Qt::Uninitialized);
    QChar* out = s.data();
    for (size_t i = 0; i < cp1252.size(); ++i) {
        out[i] = QChar(static_cast<char16_t>(codec::cp1252ToUnicode(static_cast<unsigned char>(cp1252[i]))));
    }
    return s;
}

// One pass and one buffer for a text of megabytes: converting first and taking
// the CRs out afterwards went over the text twice.
QString fromCp1252Lines(const std::string& cp1252) {
    QString s(static_cast<qsizetype>(cp1252.size()), Qt::Uninitialized);
    common::adviseLarge(s.constData(), cp1252.size() * sizeof(QChar));
    QChar* out = s.data();
    qsizetype n = 0;
    const size_t size = cp1252.size();
    for (size_t i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(cp1252[i]);
        if (c == '\r' && i + 1 < size && cp1252[i + 1] == '\n') continue;
        out[n++] = QChar(static_cast<char16_t>(codec::cp1252ToUnicode(c)));
    }
    s.resize(n);
    return s;
}

namespace {
template <typename OnLost>
std::string convertCp1252(const QString& s, OnLost onLost) {
    std::string out;
    out.reserve(static_cast<size_t>(s.size()));
    for (qsizetype i = 0; i < s.size(); ++i) {
        char32_t cp = s[i].unicode();
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(s[i], s[i + 1]);
            ++i;
        }
        const int b = codec::unicodeToCp1252(cp);
        if (b >= 0) {
            out.push_back(static_cast<char>(b));
        } else {
            onLost(out, cp);
        }
    }
    return out;
}
}  // namespace

std::string toCp1252Referenced(const QString& s) {
    return convertCp1252(s, [](std::string& out, char32_t cp) { out += "&#" + std::to_string(cp) + ";"; });
}

std::string toCp1252(const QString& s, QString* lost) {
    return convertCp1252(s, [lost](std::string& out, char32_t cp) {
        out.push_back('?');
        if (!lost) return;
        const QString ch = QString::fromUcs4(&cp, 1);
        if (!lost->contains(ch)) *lost += ch;
    });
}

QColor colourFromWindows(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

std::uint32_t colourToWindows(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) | (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

QFont fontFromSpec(const FontSpec& spec) {
    QFont font(q(spec.name), spec.size);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeOut);
    if (spec.name == "Courier New") font.setStyleHint(QFont::TypeWriter);
    return font;
}

FontSpec specFromFont(const QFont& font) {
    FontSpec spec;
    spec.name = u(font.family());
    spec.size = font.pointSize() > 0 ? font.pointSize() : 12;
    spec.bold = font.bold();
    spec.italic = font.italic();
    spec.underline = font.underline();
    spec.strikeOut = font.strikeOut();
    return spec;
}

}  // namespace pictra::ui
