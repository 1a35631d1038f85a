// "Bild einfügen" on pictures selected in the explorer, timed against `identify -ping` by
// pictures_insert_peer.sh:
//   pictures_insert_tool DOCUMENT PICTURE...
// inserts the pictures into an empty document saved as DOCUMENT, as the menu command does
// (the explorer's selection confirmed, each proposed name taken, no clear break), and prints
// the length of the inserted text.
#include <cstdio>
#include <string>
#include <vector>

#include "QuietDialogs.h"
#include "common/Text.h"
#include "html/preview/PictureInsertion.h"
#include "platform/pictures/PictureInsertionFiles.h"

using namespace pictra;

namespace {

// The user who confirms the selection and takes every proposed name.
class AcceptingDialogs : public bench::QuietDialogs {
public:
    Answer ask(const std::string& question) override {
        return question.rfind(preview::kAskExplorerPictures, 0) == 0 ? Answer::Yes : Answer::No;
    }
    std::optional<std::string> askText(const std::string&, const std::string&, const std::string& proposal) override {
        return proposal;
    }
};

// An empty document's editor, holding what is inserted into it.
class DocumentText : public EditorView {
public:
    std::vector<std::string> lines() const override { return text::splitLines(m_text); }
    void setLines(const std::vector<std::string>& lines) override { m_text = text::joinLines(lines, "\r\n"); }
    int caret() const override { return static_cast<int>(m_text.size()); }
    void setCaret(int) override {}
    int selectionStart() const override { return caret(); }
    int selectionLength() const override { return 0; }
    std::string selectedText() const override { return {}; }
    void setSelection(int, int) override {}
    void replaceSelection(const std::string& text) override { m_text += text; }
    void focus() override {}
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DOCUMENT PICTURE...\n", argv[0]);
        return 2;
    }
    const std::string document = argv[1];
    preview::PictureSources sources =
        platform::pictures::pictureInsertionSources(document.substr(0, document.rfind('/') + 1));
    sources.explorerSelection.assign(argv + 2, argv + argc);
    AcceptingDialogs dialogs;
    DocumentText view;
    preview::insertPictures(view, dialogs, sources, false);
    std::printf("%zu\n", view.text().size());
    return view.text().empty() ? 1 : 0;
}
