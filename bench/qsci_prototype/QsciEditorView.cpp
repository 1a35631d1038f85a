#include "QsciEditorView.h"

#include <Qsci/qsciscintilla.h>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFont>
#include <algorithm>
#include <array>
#include <cstdint>

#include "common/Text.h"

namespace pictra::bench {

namespace {

using Sci = QsciScintillaBase;

// Indicators that belong to the container, one per paint colour when the
// document keeps no styles.
constexpr int kFirstIndicator = 8;
constexpr int kLastIndicator = 31;

std::string withNewlines(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out += text[i];
        } else if (i + 1 >= text.size() || text[i + 1] != '\n') {
            out += '\n';
        }
    }
    return out;
}

const std::array<char, 256>& foldTable() {
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b) t[static_cast<size_t>(b)] = text::lowerCp1252(static_cast<char>(b));
        return t;
    }();
    return table;
}

bool sameFolded(std::string_view s, size_t at, const std::string& foldedTerm) {
    const auto& fold = foldTable();
    for (size_t i = 0; i < foldedTerm.size(); ++i) {
        if (fold[static_cast<unsigned char>(s[at + i])] != foldedTerm[i]) return false;
    }
    return true;
}

QAccessibleInterface* plainInterface(const QString& className, QObject* object) {
    if (className != QLatin1String("QsciScintilla") || !object->isWidgetType() || QAccessible::isActive()) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::EditableText);
}

}  // namespace

void avoidCountingAccessibility() {
    // Qt asks the factories in the order they came; QScintilla adds its own with its first editor.
    static const bool installed = [] {
        QAccessible::installFactory(plainInterface);
        return true;
    }();
    (void)installed;
}

void setUpPlainEditor(QsciScintilla& editor, const QFont& font, bool withStyles) {
    if (!withStyles) {
        // The document is a property of its own; code page and line ends are set after it.
        const long doc = editor.SendScintilla(Sci::SCI_CREATEDOCUMENT, 0UL, static_cast<long>(Sci::SC_DOCUMENTOPTION_STYLES_NONE));
        editor.SendScintilla(Sci::SCI_SETDOCPOINTER, 0UL, reinterpret_cast<void*>(doc));
        editor.SendScintilla(Sci::SCI_RELEASEDOCUMENT, 0UL, reinterpret_cast<void*>(doc));
    }
    editor.setUtf8(false);
    editor.SendScintilla(Sci::SCI_SETCODEPAGE, 0UL);
    editor.SendScintilla(Sci::SCI_SETEOLMODE, static_cast<unsigned long>(Sci::SC_EOL_LF));
    editor.SendScintilla(Sci::SCI_SETLEXER, static_cast<unsigned long>(Sci::SCLEX_CONTAINER));
    const QByteArray family = font.family().toLatin1();
    editor.SendScintilla(Sci::SCI_STYLESETFONT, static_cast<uintptr_t>(Sci::STYLE_DEFAULT), family.constData());
    editor.SendScintilla(Sci::SCI_STYLESETSIZE, static_cast<unsigned long>(Sci::STYLE_DEFAULT),
                         static_cast<long>(std::max(font.pointSize(), 1)));
    editor.SendScintilla(Sci::SCI_STYLECLEARALL);
    for (unsigned long margin = 0; margin < 5; ++margin) editor.SendScintilla(Sci::SCI_SETMARGINWIDTHN, margin, 0L);
    editor.SendScintilla(Sci::SCI_SETWRAPMODE, static_cast<unsigned long>(Sci::SC_WRAP_NONE));
    editor.SendScintilla(Sci::SCI_SETSCROLLWIDTH, 1UL);
    editor.SendScintilla(Sci::SCI_SETSCROLLWIDTHTRACKING, 1UL);
    // Alt+drag selects a rectangle, and the rectangle may reach past the ends of short lines.
    editor.SendScintilla(Sci::SCI_SETVIRTUALSPACEOPTIONS, static_cast<unsigned long>(Sci::SCVS_RECTANGULARSELECTION));
    // On every modification notice QScintilla counts the characters up to the change for its
    // accessibility events, whether anyone listens or not (a notice for any flag in the mask
    // carries the insert or delete with it), so there are none. That silences textChanged too:
    // a change shows as SCN_UPDATEUI with SC_UPDATE_CONTENT, the modified state as
    // modificationChanged (save point notices).
    editor.SendScintilla(Sci::SCI_SETMODEVENTMASK, 0UL);
}

long QsciEditorView::send(unsigned int message, unsigned long wParam, long lParam) const {
    return m_editor.SendScintilla(message, wParam, lParam);
}

std::string_view QsciEditorView::bytes() const {
    // Closes the gap of the buffer once; the view stays valid until the next edit.
    const auto* p = static_cast<const char*>(m_editor.SendScintillaPtrResult(Sci::SCI_GETCHARACTERPOINTER));
    return {p, static_cast<size_t>(length())};
}

int QsciEditorView::length() const { return static_cast<int>(send(Sci::SCI_GETLENGTH)); }

int QsciEditorView::clamped(int offset) const { return std::clamp(offset, 0, length()); }

void QsciEditorView::load(const std::string& cp1252) {
    send(Sci::SCI_SETUNDOCOLLECTION, 0);
    send(Sci::SCI_CLEARALL);
    send(Sci::SCI_ALLOCATE, cp1252.size() + 1);
    // Through a small buffer in pieces: a whole second copy of a large file would raise the peak.
    std::string piece;
    constexpr size_t kPiece = 1 << 20;
    piece.reserve(kPiece);
    const size_t size = cp1252.size();
    for (size_t i = 0; i < size; ++i) {
        const char c = cp1252[i];
        if (c == '\r') {
            if (i + 1 < size && cp1252[i + 1] == '\n') continue;
            piece += '\n';
        } else {
            piece += c;
        }
        if (piece.size() == kPiece) {
            m_editor.SendScintilla(Sci::SCI_ADDTEXT, static_cast<uintptr_t>(piece.size()), piece.data());
            piece.clear();
        }
    }
    if (!piece.empty()) m_editor.SendScintilla(Sci::SCI_ADDTEXT, static_cast<uintptr_t>(piece.size()), piece.data());
    send(Sci::SCI_SETUNDOCOLLECTION, 1);
    send(Sci::SCI_EMPTYUNDOBUFFER);
    send(Sci::SCI_SETSAVEPOINT);
    send(Sci::SCI_GOTOPOS, 0);
}

std::vector<std::string> QsciEditorView::lines() const {
    const std::string_view s = bytes();
    std::vector<std::string> out;
    if (s.empty()) return out;
    out.reserve(static_cast<size_t>(send(Sci::SCI_GETLINECOUNT)));
    size_t start = 0;
    for (;;) {
        const size_t end = s.find('\n', start);
        out.emplace_back(s.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return out;
}

void QsciEditorView::replaceRange(int start, int end, const std::string& lfText) {
    send(Sci::SCI_BEGINUNDOACTION);
    send(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(start), end);
    m_editor.SendScintilla(Sci::SCI_REPLACETARGET, static_cast<uintptr_t>(lfText.size()), lfText.data());
    send(Sci::SCI_ENDUNDOACTION);
}

void QsciEditorView::setLines(const std::vector<std::string>& lines) {
    replaceRange(0, length(), text::joinLines(lines, "\n"));
}

void QsciEditorView::setText(const std::string& text) { replaceRange(0, length(), withNewlines(text)); }

std::string QsciEditorView::plainText() const { return std::string(bytes()); }

int QsciEditorView::caret() const { return static_cast<int>(send(Sci::SCI_GETCURRENTPOS)); }

void QsciEditorView::setCaret(int offset) { send(Sci::SCI_GOTOPOS, static_cast<unsigned long>(clamped(offset))); }

int QsciEditorView::selectionStart() const { return static_cast<int>(send(Sci::SCI_GETSELECTIONSTART)); }

int QsciEditorView::selectionLength() const {
    return static_cast<int>(send(Sci::SCI_GETSELECTIONEND)) - selectionStart();
}

std::string QsciEditorView::selectedText() const {
    // Only the selected range is made contiguous: closing the whole gap would move up to the
    // whole text after an edit in the middle of a large one.
    const int length = selectionLength();
    const auto* p = reinterpret_cast<const char*>(
        static_cast<std::intptr_t>(send(Sci::SCI_GETRANGEPOINTER, static_cast<unsigned long>(selectionStart()), length)));
    return text::replaceAll(std::string_view(p, static_cast<size_t>(length)), "\n", "\r\n");
}

void QsciEditorView::setSelection(int start, int length) {
    send(Sci::SCI_SETSEL, static_cast<unsigned long>(clamped(start)), clamped(start + length));
}

void QsciEditorView::replaceSelection(const std::string& text) {
    const int start = selectionStart();
    const std::string lf = withNewlines(text);
    replaceRange(start, start + selectionLength(), lf);
    send(Sci::SCI_GOTOPOS, static_cast<unsigned long>(start) + lf.size());
}

void QsciEditorView::focus() { m_editor.setFocus(); }

int QsciEditorView::find(const std::string& term, int from, bool matchCase) const {
    const std::string_view s = bytes();
    const size_t begin = static_cast<size_t>(std::max(from, 0));
    if (term.empty() || term.size() > s.size()) return -1;
    if (matchCase) {
        const size_t at = s.find(term, begin);
        return at == std::string_view::npos ? -1 : static_cast<int>(at);
    }
    const std::string folded = text::toLowerCp1252(term);
    const auto& fold = foldTable();
    for (size_t at = begin; at + term.size() <= s.size(); ++at) {
        if (fold[static_cast<unsigned char>(s[at])] == folded[0] && sameFolded(s, at, folded)) {
            return static_cast<int>(at);
        }
    }
    return -1;
}

int QsciEditorView::findBackward(const std::string& term, int at, bool matchCase) const {
    const std::string_view s = bytes();
    if (term.empty() || at < 0 || term.size() > s.size()) return -1;
    const size_t last = std::min(static_cast<size_t>(at), s.size() - term.size());
    if (matchCase) {
        const size_t hit = s.rfind(term, last);
        return hit == std::string_view::npos ? -1 : static_cast<int>(hit);
    }
    const std::string folded = text::toLowerCp1252(term);
    for (size_t p = last + 1; p-- > 0;) {
        if (sameFolded(s, p, folded)) return static_cast<int>(p);
    }
    return -1;
}

int QsciEditorView::styleFor(const Paint& paint) {
    const auto key = std::make_tuple(paint.colour, paint.bold, paint.sizeIncrease);
    if (const auto it = m_styles.find(key); it != m_styles.end()) return it->second;
    // Style 0 is plain text and 32..39 are Scintilla's own.
    int style = static_cast<int>(m_styles.size()) + 1;
    if (style >= Sci::STYLE_DEFAULT) style += Sci::STYLE_LASTPREDEFINED - Sci::STYLE_DEFAULT + 1;
    style = std::min(style, 255);
    const auto s = static_cast<unsigned long>(style);
    send(Sci::SCI_STYLESETFORE, s, static_cast<long>(paint.colour & 0xFFFFFF));  // both keep red in the low byte
    send(Sci::SCI_STYLESETBOLD, s, paint.bold ? 1 : 0);
    send(Sci::SCI_STYLESETSIZE, s, send(Sci::SCI_STYLEGETSIZE, Sci::STYLE_DEFAULT) + paint.sizeIncrease);
    m_styles.emplace(key, style);
    return style;
}

void QsciEditorView::paint(int start, int length, const Paint& paint) {
    int from = clamped(start);
    int to = clamped(start + length);
    if (to < from) std::swap(from, to);
    if ((send(Sci::SCI_GETDOCUMENTOPTIONS) & Sci::SC_DOCUMENTOPTION_STYLES_NONE) == 0) {
        // Styles are no edit: neither an undo step nor a modification.
        send(Sci::SCI_STARTSTYLING, static_cast<unsigned long>(from), 0xFF);
        send(Sci::SCI_SETSTYLING, static_cast<unsigned long>(to - from), styleFor(paint));
        return;
    }
    // Without styles only the colour can be shown, through an indicator per colour.
    const auto key = std::make_tuple(paint.colour, false, 0);
    auto it = m_styles.find(key);
    if (it == m_styles.end()) {
        const int indicator = std::min(kFirstIndicator + static_cast<int>(m_styles.size()), kLastIndicator);
        send(Sci::SCI_INDICSETSTYLE, static_cast<unsigned long>(indicator), Sci::INDIC_TEXTFORE);
        send(Sci::SCI_INDICSETFORE, static_cast<unsigned long>(indicator), static_cast<long>(paint.colour & 0xFFFFFF));
        it = m_styles.emplace(key, indicator).first;
    }
    send(Sci::SCI_SETINDICATORCURRENT, static_cast<unsigned long>(it->second));
    send(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(from), to - from);
}

void QsciEditorView::clearPaint() {
    const int all = length();
    if ((send(Sci::SCI_GETDOCUMENTOPTIONS) & Sci::SC_DOCUMENTOPTION_STYLES_NONE) == 0) {
        send(Sci::SCI_STARTSTYLING, 0, 0xFF);
        send(Sci::SCI_SETSTYLING, static_cast<unsigned long>(all), 0);
        return;
    }
    for (int indicator = kFirstIndicator; indicator <= kLastIndicator; ++indicator) {
        send(Sci::SCI_SETINDICATORCURRENT, static_cast<unsigned long>(indicator));
        send(Sci::SCI_INDICATORCLEARRANGE, 0, all);
    }
}

}  // namespace pictra::bench
