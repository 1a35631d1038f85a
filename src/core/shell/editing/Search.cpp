#include "Search.h"

#include <algorithm>
#include <limits>

#include "common/CaseFold.h"
#include "common/Text.h"

namespace pictra::search {

Paint hitPaint(bool big) { return Paint{255, true, big ? 4 : 0}; }

void paintHit(EditorView& view, int position, int length, bool big) {
    view.paint(position, length, hitPaint(big));
    view.setCaret(position);
}

bool SearchSession::termMissing(SearchBar& bar) {
    bar.showStatusBar();
    if (!bar.term().empty()) return false;
    bar.showBar(false);
    bar.showNotice(kMsgEnterTerm);
    return true;
}

void SearchSession::first(EditorView& view, SearchBar& bar) {
    if (termMissing(bar)) return;
    const std::string term = bar.term();
    view.setCaret(0);
    const int hit = view.find(term, 0, bar.matchCase());
    if (hit >= 0) {
        paintHit(view, hit, static_cast<int>(term.size()), bar.bigHits());
        return;
    }
    bar.showNotice("\"" + term + "\"nicht vorhanden!");
    bar.beep();
}

void SearchSession::next(EditorView& view, SearchBar& bar) {
    if (termMissing(bar)) return;
    const std::string term = bar.term();
    bar.termSearched();
    if (std::find(m_history.begin(), m_history.end(), term) == m_history.end()) m_history.push_back(term);
    const int hit = view.find(term, view.selectionStart() + view.selectionLength() + 1, bar.matchCase());
    if (hit >= 0) {
        paintHit(view, hit, static_cast<int>(term.size()), bar.bigHits());
        return;
    }
    first(view, bar);
    bar.showNotice("Suche \"" + term + "\" wieder von Anfang");
    bar.beep();
}

// The last hit a forward scan from the top finds, case ignored.
int SearchSession::lastHit(EditorView& view, const std::string& term) {
    return view.findBackward(term, std::numeric_limits<int>::max() / 2, false);
}

void SearchSession::last(EditorView& view, SearchBar& bar) {
    if (termMissing(bar)) return;
    const std::string term = bar.term();
    view.setCaret(0);
    const int hit = lastHit(view, term);
    if (hit >= 0) {
        paintHit(view, hit, static_cast<int>(term.size()), bar.bigHits());
        return;
    }
    bar.showNotice("Anfang erreicht");
    bar.beep();
}

void SearchSession::previous(EditorView& view, SearchBar& bar) {
    if (termMissing(bar)) return;
    bar.setMatchCase(false);
    const std::string term = bar.term();
    const int caret = view.caret();
    // The scan from the top starts at position 1: a hit on the first character never counts.
    const int atCaret = view.findBackward(term, caret, false);
    const int before = atCaret >= 1 ? view.findBackward(term, atCaret - 1, false) : -1;
    if (atCaret >= 1 && before >= 1) {
        paintHit(view, before, static_cast<int>(term.size()), bar.bigHits());
        return;
    }
    last(view, bar);
    bar.showNotice("Suche \"" + term + "\" vom Ende");
    bar.beep();
}

void SearchSession::replace(EditorView& view, SearchBar& bar, Dialogs& dialogs) {
    if (termMissing(bar)) return;
    const std::string term = bar.term();
    const std::string replacement = bar.replacement();
    if (m_askReplaceAll && dialogs.ask(kAskReplaceAll) == Answer::Yes) {
        // Taking the text out and putting it back costs far more than the replacing itself.
        if (!view.replaceEveryInPlace(term, replacement, bar.bigHits()))
            view.setText(replaceEvery(view.plainText(), term, replacement, bar.bigHits()));
        return;
    }
    m_askReplaceAll = false;
    const int hit = view.find(term, view.caret(), false);
    if (hit < 0) {
        bar.showNotice("Ende erreicht");
        bar.beep();
        return;
    }
    view.setSelection(hit, static_cast<int>(term.size()));
    view.replaceSelection(replacement);
    view.paint(hit, static_cast<int>(replacement.size()), hitPaint(bar.bigHits()));
    view.setCaret(hit + static_cast<int>(replacement.size()));
}

std::vector<std::string> SearchSession::storedHistory() const {
    const size_t keep = std::min<size_t>(6, m_history.size());
    return {m_history.end() - static_cast<long>(keep), m_history.end()};
}

std::string replaceEvery(const std::string& text, const std::string& term, const std::string& replacement,
                         bool matchCase) {
    if (term.empty()) return text;
    // The folded copy keeps every offset of the text (one byte, one character).
    const std::string haystack = matchCase ? std::string() : casefold::foldCp1252(text);
    const std::string needle = matchCase ? term : casefold::foldCp1252(term);
    const std::string& searched = matchCase ? text : haystack;
    std::string out;
    out.reserve(text.size());
    size_t from = 0;
    for (size_t at = searched.find(needle); at != std::string::npos; at = searched.find(needle, from)) {
        out.append(text, from, at - from);
        out += replacement;
        from = at + needle.size();
    }
    out.append(text, from, std::string::npos);
    return out;
}

std::vector<std::string> plainLines(const std::vector<std::string>& lines, int tabWidth) {
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const std::string& line : lines) {
        std::string converted;
        if (line.find('\t') != std::string::npos) {
            size_t start = 0;
            while (true) {
                const size_t tab = line.find('\t', start);
                std::string piece = line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
                if (tab == std::string::npos) {
                    converted += piece;
                    break;
                }
                if (tabWidth > 0) {
                    if (piece.empty()) piece = " ";
                    const size_t w = static_cast<size_t>(tabWidth);
                    if (piece.size() % w != 0) piece.resize((piece.size() / w + 1) * w, ' ');
                }
                converted += piece + " ";
                start = tab + 1;
            }
        } else {
            converted = line;
        }
        for (char& c : converted) {
            if (static_cast<unsigned char>(c) < 32) c = ' ';
        }
        out.push_back(text::trimRight(converted));
    }
    while (!out.empty() && out.back().empty()) out.pop_back();
    return out;
}

namespace {

std::string trimmedBlanks(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

}  // namespace

std::vector<std::string> tabsToTable(const std::vector<std::string>& lines, const std::function<void()>& tone) {
    std::vector<std::string> clean;
    clean.reserve(lines.size());
    for (const std::string& line : lines) {
        std::string l = line;
        for (char& c : l) {
            if (static_cast<unsigned char>(c) < 32 && c != '\t') c = ' ';
        }
        clean.push_back(trimmedBlanks(std::move(l)));
    }
    while (!clean.empty() && clean.back().empty()) clean.pop_back();
    // Piece j of every line starts in column start[j]: one blank after the widest
    // piece j-1 of the lines that have one (piece 0: of all lines). Lines with fewer
    // pieces are padded to the last column start, as the repeated passes did.
    std::vector<size_t> widest;
    for (const std::string& line : clean) {
        size_t piece = 0;
        size_t from = 0;
        while (true) {
            const size_t tab = line.find('\t', from);
            const size_t len = (tab == std::string::npos ? line.size() : tab) - from;
            if (piece >= widest.size()) widest.push_back(0);
            widest[piece] = std::max(widest[piece], len);
            if (tab == std::string::npos) break;
            from = tab + 1;
            ++piece;
        }
    }
    const size_t passes = widest.empty() ? 0 : widest.size() - 1;
    if (passes == 0) return clean;
    tone();
    std::vector<size_t> start(widest.size(), 0);
    for (size_t j = 1; j < widest.size(); ++j) start[j] = start[j - 1] + widest[j - 1] + 1;
    std::vector<std::string> out;
    out.reserve(clean.size());
    for (const std::string& line : clean) {
        std::string l;
        size_t piece = 0;
        size_t from = 0;
        while (true) {
            const size_t tab = line.find('\t', from);
            l.append(line, from, tab == std::string::npos ? std::string::npos : tab - from);
            if (tab == std::string::npos) break;
            ++piece;
            l.resize(start[piece], ' ');
            from = tab + 1;
        }
        if (piece < passes) l.resize(std::max(l.size(), start[passes]), ' ');
        out.push_back(std::move(l));
    }
    return out;
}

std::vector<std::string> searchDocuments(const std::vector<std::vector<std::string>>& documents,
                                         const std::string& term, const std::function<void(int)>& progress) {
    std::vector<std::string> results;
    for (size_t d = 0; d < documents.size(); ++d) {
        for (size_t l = 0; l < documents[d].size(); ++l) {
            if (documents[d][l].find(term) == std::string::npos) continue;
            results.push_back(std::to_string(d + 1) + "|" + std::to_string(l) + ":" + documents[d][l]);
            progress(static_cast<int>(results.size()));
        }
    }
    results.push_back(std::to_string(results.size()) + " Fundstellen");
    return results;
}

bool searchFromSelection(EditorView& view, const std::string& term) {
    const int hit = view.find(term, view.selectionStart() + view.selectionLength(), false);
    if (hit < 0) return false;
    view.paint(hit, static_cast<int>(term.size()), hitPaint(true));
    view.setCaret(hit + 1);
    return true;
}

}  // namespace pictra::search
