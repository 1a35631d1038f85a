#include "Rtf.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "common/Codec.h"

namespace pictra::rtf {

namespace {

// Control words are ASCII; isalpha would also take the letters above 127 of a Latin-1 locale.
bool asciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool asciiDigit(char c) { return c >= '0' && c <= '9'; }

void appendEscaped(std::string& out, const std::string& text) {
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (b >= 0x80) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\'%02x", b);
            out += hex;
        } else {
            out += c;
        }
    }
}

template <typename T>
size_t indexOf(std::vector<T>& list, const T& value) {
    auto it = std::find(list.begin(), list.end(), value);
    if (it != list.end()) return static_cast<size_t>(it - list.begin());
    list.push_back(value);
    return list.size() - 1;
}

const char* alignWord(Align a) {
    switch (a) {
        case Align::Center: return "\\qc";
        case Align::Right: return "\\qr";
        case Align::Justify: return "\\qj";
        default: return "\\ql";
    }
}

}  // namespace

std::string write(const Document& document) {
    std::vector<std::string> fonts;
    std::vector<std::uint32_t> colours;
    std::string body;
    for (size_t p = 0; p < document.paragraphs.size(); ++p) {
        const Paragraph& para = document.paragraphs[p];
        body += "\\pard";
        body += alignWord(para.align);
        body += ' ';
        for (const Run& run : para.runs) {
            const CharFormat& f = run.format;
            body += "{\\f" + std::to_string(indexOf(fonts, f.font)) + "\\fs" + std::to_string(f.halfPoints) + "\\cf" +
                    std::to_string(indexOf(colours, f.colour) + 1);
            if (f.bold) body += "\\b";
            if (f.italic) body += "\\i";
            if (f.underline) body += "\\ul";
            if (f.strikeOut) body += "\\strike";
            body += ' ';
            appendEscaped(body, run.text);
            body += '}';
        }
        if (p + 1 < document.paragraphs.size()) body += "\\par\r\n";
    }
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
    for (size_t i = 0; i < fonts.size(); ++i) {
        out += "{\\f" + std::to_string(i) + "\\fnil ";
        appendEscaped(out, codec::utf8ToCp1252(fonts[i]));
        out += ";}";
    }
    out += "}{\\colortbl;";
    for (std::uint32_t c : colours) {
        out += "\\red" + std::to_string(c & 0xFF) + "\\green" + std::to_string((c >> 8) & 0xFF) + "\\blue" +
               std::to_string((c >> 16) & 0xFF) + ";";
    }
    out += "}\r\n" + body + "}\r\n";
    return out;
}

namespace {

struct State {
    CharFormat format;
    bool skip = false;       // an ignored destination
    bool fontTable = false;
    bool colourTable = false;
    int unicodeSkip = 1;
};

class Reader {
public:
    explicit Reader(const std::string& rtf) : m_in(rtf) {}

    Document run() {
        m_document.paragraphs.emplace_back();
        m_stack.push_back(State{});
        while (m_pos < m_in.size()) step();
        flushFontName();
        if (m_document.paragraphs.size() > 1 && m_document.paragraphs.back().runs.empty()) {
            m_document.paragraphs.pop_back();
        }
        return m_document;
    }

private:
    State& state() { return m_stack.back(); }

    void step() {
        const char c = m_in[m_pos++];
        switch (c) {
            case '{': m_stack.push_back(m_stack.back()); break;
            case '}':
                flushFontName();
                if (m_stack.size() > 1) m_stack.pop_back();
                break;
            case '\\': controlWord(); break;
            case '\r':
            case '\n': break;
            default: text(std::string(1, c));
        }
    }

    void controlWord() {
        if (m_pos >= m_in.size()) return;
        const char c = m_in[m_pos];
        if (!asciiLetter(c)) {
            ++m_pos;
            controlSymbol(c);
            return;
        }
        std::string word;
        while (m_pos < m_in.size() && asciiLetter(m_in[m_pos])) word += m_in[m_pos++];
        bool hasNumber = false;
        long number = 0;
        bool negative = false;
        if (m_pos < m_in.size() && m_in[m_pos] == '-') {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_in.size() && asciiDigit(m_in[m_pos])) {
            hasNumber = true;
            number = std::min(number * 10 + (m_in[m_pos++] - '0'), 100000000L);
        }
        if (negative) number = -number;
        if (m_pos < m_in.size() && m_in[m_pos] == ' ') ++m_pos;
        apply(word, hasNumber, number);
    }

    void controlSymbol(char c) {
        switch (c) {
            case '\'': {
                if (m_pos + 2 > m_in.size()) return;
                const std::string hex = m_in.substr(m_pos, 2);
                m_pos += 2;
                char* end = nullptr;
                const long value = std::strtol(hex.c_str(), &end, 16);
                if (end == hex.c_str() + 2) text(std::string(1, static_cast<char>(value)));
                break;
            }
            case '*': state().skip = true; break;
            case '~': text("\xA0"); break;
            case '_': text("-"); break;
            case '\\':
            case '{':
            case '}': text(std::string(1, c)); break;
            case '\r':
            case '\n': paragraph(); break;
            default: break;
        }
    }

    void apply(const std::string& w, bool hasNumber, long n) {
        CharFormat& f = state().format;
        const bool on = !hasNumber || n != 0;
        if (w == "fonttbl") {
            state().fontTable = true;
        } else if (w == "colortbl") {
            state().colourTable = true;
            m_colours.clear();
            m_pendingColour = 0;
        } else if (w == "stylesheet" || w == "info" || w == "pict" || w == "header" || w == "footer" ||
                   w == "object" || w == "listtable" || w == "listoverridetable" || w == "generator") {
            state().skip = true;
        } else if (state().colourTable && (w == "red" || w == "green" || w == "blue")) {
            const int shift = w == "red" ? 0 : w == "green" ? 8 : 16;
            m_pendingColour |= static_cast<std::uint32_t>(std::clamp(n, 0L, 255L)) << shift;
        } else if (w == "f") {
            if (state().fontTable) {
                flushFontName();
                m_fontNumber = n;
                m_fontName.clear();
                m_collectingFont = true;
            } else if (auto it = m_fonts.find(n); it != m_fonts.end()) {
                f.font = it->second;
            }
        } else if (w == "fs") {
            if (n > 0) f.halfPoints = static_cast<int>(n);
        } else if (w == "cf") {
            // Entry 0 of the colour table is the automatic colour.
            f.colour = n > 0 && static_cast<size_t>(n) < m_colours.size() ? m_colours[static_cast<size_t>(n)] : 0;
        } else if (w == "b") {
            f.bold = on;
        } else if (w == "i") {
            f.italic = on;
        } else if (w == "ul") {
            f.underline = on;
        } else if (w == "ulnone") {
            f.underline = false;
        } else if (w == "strike") {
            f.strikeOut = on;
        } else if (w == "plain") {
            const std::string font = f.font;
            f = CharFormat{};
            f.font = font;
        } else if (w == "pard") {
            m_document.paragraphs.back().align = Align::Left;
        } else if (w == "ql" || w == "qc" || w == "qr" || w == "qj") {
            m_document.paragraphs.back().align = w == "qc" ? Align::Center : w == "qr" ? Align::Right
                                                 : w == "qj" ? Align::Justify : Align::Left;
        } else if (w == "par" || w == "line") {
            paragraph();
        } else if (w == "tab") {
            text("\t");
        } else if (w == "uc") {
            state().unicodeSkip = static_cast<int>(std::clamp(n, 0L, 10L));
        } else if (w == "u") {
            const auto cp = static_cast<char32_t>(n < 0 ? n + 65536 : n);
            const int b = codec::unicodeToCp1252(cp);
            text(b >= 0 ? std::string(1, static_cast<char>(b)) : "&#" + std::to_string(cp) + ";");
            skipFallback(state().unicodeSkip);
        } else if (w == "emdash") {
            text("\x97");
        } else if (w == "endash") {
            text("\x96");
        } else if (w == "bullet") {
            text("\x95");
        } else if (w == "lquote" || w == "rquote") {
            text(w == "lquote" ? "\x91" : "\x92");
        } else if (w == "ldblquote" || w == "rdblquote") {
            text(w == "ldblquote" ? "\x93" : "\x94");
        }
    }

    void skipFallback(int count) {
        for (int i = 0; i < count && m_pos < m_in.size(); ++i) {
            if (m_in[m_pos] == '\\' && m_pos + 1 < m_in.size() && m_in[m_pos + 1] == '\'') {
                m_pos += 4;
            } else if (m_in[m_pos] == '{' || m_in[m_pos] == '}') {
                return;
            } else {
                ++m_pos;
            }
        }
    }

    void text(const std::string& t) {
        if (state().skip) return;
        if (state().fontTable) {
            if (m_collectingFont) m_fontName += t;
            return;
        }
        if (state().colourTable) {
            if (t == ";") {
                m_colours.push_back(m_pendingColour);
                m_pendingColour = 0;
            }
            return;
        }
        auto& runs = m_document.paragraphs.back().runs;
        if (!runs.empty() && runs.back().format == state().format) {
            runs.back().text += t;
        } else {
            runs.push_back({t, state().format});
        }
    }

    void flushFontName() {
        if (!m_collectingFont) return;
        std::string name = m_fontName;
        if (const size_t semi = name.find(';'); semi != std::string::npos) name.resize(semi);
        while (!name.empty() && name.front() == ' ') name.erase(0, 1);
        if (!name.empty()) m_fonts[m_fontNumber] = codec::cp1252ToUtf8(name);
        m_collectingFont = false;
    }

    void paragraph() {
        if (state().skip || state().fontTable || state().colourTable) return;
        const Align align = m_document.paragraphs.back().align;
        m_document.paragraphs.emplace_back();
        m_document.paragraphs.back().align = align;
    }

    const std::string& m_in;
    size_t m_pos = 0;
    std::vector<State> m_stack;
    Document m_document;
    std::map<long, std::string> m_fonts;
    std::vector<std::uint32_t> m_colours;
    std::uint32_t m_pendingColour = 0;
    long m_fontNumber = 0;
    std::string m_fontName;
    bool m_collectingFont = false;
};

}  // namespace

Document read(const std::string& rtf) { return Reader(rtf).run(); }

}  // namespace pictra::rtf
