#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "MemoryEditor.h"
#include "ScriptedDialogs.h"
#include "html/preview/BuildingBlocks.h"
#include "html/preview/PictureInsertion.h"

using namespace pictra;
using namespace pictra::preview;

namespace {

struct BlockCase {
    const char* caption;
    const char* textAfter;  // "|" marks the caret
    const char* message;
};

// The text starts as "vor|nach" (caret after "vor").
const BlockCase kBlockCases[] = {
    {"Überschrift groß zentral", "vor<h1 align=center>|</h1>\nnach", ""},
    {"Überschrift kleiner links", "vor<h2>|</h2>\nnach", ""},
    {"Abschnitt", "vor<p>|</p>\nnach", ""},
    {"Kommentar", "vor<!-- |  -->\nnach", ""},
    {"Linie", "vor<hr>\n|nach", ""},
    {"Aufzählungsliste einfügen", "vor<ul type=disk>\n  <li> </li>\n  <li> </li>\n  <li> </li>\n  <li> </li>\n</ul>\n|nach",
     "Kürzer: mit Strg+H+0 (Null) und Str+H+l (klein L)\rMöglichkeiten für type: square circle disc"},
    {"Numerierte Liste einfügen",
     "vor<ol type=a start=1>\n  <li> </li>\n  <li> </li>\n  <li> </li>\n  <li> </li>\n</ol>\n|nach",
     "Kürzer: mit Strg+H+9 und Str+H+l\rMöglichkeiten für type:1 a A I i"},
    {"Definitionsliste einfügen",
     "vor<dl>\n  <dt></dt>\n    <dd> </dd>\n  <dt></dt>\n    <dd> </dd>\n  <dt></dt>\n    <dd> </dd>\n  <dt></dt>\n"
     "    <dd> </dd>\n</dl>\n|nach",
     "Kürzer: mit Strg+H+8, Strg+H+7 und Str+H+l (klein d)"},
};

TEST(TextBrowser, BuildingBlocksInsertAtTheCaretAndStepBack) {
    for (const BlockCase& c : kBlockCases) {
        SCOPED_TRACE(c.caption);
        const BuildingBlock* block = findBlock(c.caption);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(block->kind, BlockKind::Snippet);
        EXPECT_EQ(std::string(block->message), c.message);
        test::MemoryEditor editor("vornach");
        editor.setCaret(3);
        insertSnippet(editor, block->snippet, block->caretBack);
        std::string expected = c.textAfter;
        const auto bar = expected.find('|');
        expected.erase(bar, 1);
        EXPECT_EQ(editor.text(), expected);
        EXPECT_EQ(editor.caret(), static_cast<int>(bar));
    }
}

TEST(TextBrowser, TheHtmlSkeletonBlockOnlyExplains) {
    const BuildingBlock* block = findBlock("Html-Gerüst");
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->kind, BlockKind::MessageOnly);
    EXPECT_EQ(std::string(block->message),
              "Bitte \"Esc\" und dort (gelb) Text in HTML-Gerüst einbetten!\r"
              "Grund: In diesem Bearbeitungsmodus wird nicht immer der ganze Text bearbeitet.");
    const std::map<std::string, BlockKind> others = {{"<br>, &nbsp; etc...", BlockKind::SpecialCharacters},
                                                     {"Tabelle (Gitter) einfügen", BlockKind::TableForm},
                                                     {"Bild einfügen", BlockKind::EditorPicture},
                                                     {"Link einfügen", BlockKind::LinkPage}};
    for (const auto& [caption, kind] : others) EXPECT_EQ(findBlock(caption)->kind, kind) << caption;
    EXPECT_EQ(buildingBlocks().size(), 13u);
    EXPECT_EQ(editorPictureSnippet("/p/pictra.bmp"), "<img src=\"/p/pictra.bmp\" width=\"105\" height=\"105\" alt=\"Bild\">");
    EXPECT_EQ(linkPageSnippet("/p/pictra.html"), "<a href=\"/p/pictra.html\">Link</a>");
}

TEST(TextBrowser, PreviewWrapsAFragmentInAPageWithTheMargins) {
    SettingsStore store;
    store.writeValue("Einstellungen", "Rand oben", "10");
    store.writeValue("Einstellungen", "Rand links", "20");
    store.writeValue("Einstellungen", "Rand rechts", "5");
    EntityTable entities;
    EXPECT_EQ(textPreviewPage("<h1>Gr\xfc\xdf" "e</h1>\nZeile\r", entities, store),
              "<html><head><title></title></head><body style=\"margin-top:10mm; margin-left:20mm; "
              "margin-right:5mm;\">\r\n<h1>Gr&uuml;&szlig;e</h1>\r\nZeile\r\n\r\n</body></html>");
    EXPECT_EQ(textPreviewPage("<html><body>\xe4</body></html>", entities, store), "<html><body>&auml;</body></html>");
    // Written as found: "<HTML" is no page of its own.
    EXPECT_NE(textPreviewPage("<HTML>x</HTML>", entities, store).find("margin-top"), std::string::npos);
}

TEST(TextBrowser, ColouringKinds) {
    using P = ColouringPart;
    EXPECT_EQ(colouringOf(1), std::vector<P>{P::Tables});
    EXPECT_EQ(colouringOf(2), std::vector<P>{P::Lists});
    EXPECT_EQ(colouringOf(3), std::vector<P>{P::Links});
    EXPECT_EQ(colouringOf(999), (std::vector<P>{P::Tables, P::Lists, P::Links, P::TextElements}));
    EXPECT_TRUE(colouringOf(0).empty());
    EXPECT_TRUE(colouringOf(4).empty());
}

TEST(TextBrowser, RelativeFolderOfAPicture) {
    const std::string doc = "/home/lehrer/Seiten/Klasse/";
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"/home/lehrer/Seiten/Klasse/", ""},
        {"/home/lehrer/Seiten/Klasse/bilder/", "bilder/"},
        {"/home/lehrer/Seiten/Klasse/bilder/klein/", "bilder/klein/"},
        {"/home/lehrer/Seiten/", "../"},
        {"/home/lehrer/Seiten/Fotos/", "../Fotos/"},
        {"/home/lehrer/", "../../"},
        {"/home/lehrer/Urlaub 2024/", "../../Urlaub 2024/"},
        {"/home/", std::nullopt},
        {"/srv/bilder/", std::nullopt},
        {"/home/lehrer/seiten/klasse/Bilder/", "Bilder/"},
        {"/HOME/Lehrer/seiten/Fotos/", "../Fotos/"},
    };
    for (const auto& [picture, expected] : cases) {
        EXPECT_EQ(relativePictureFolder(doc, picture), expected) << picture;
    }
}

TEST(TextBrowser, NameProposal) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"zz_urlaub am meer.jpg", "Urlaub Am meer"},
        {"bild.jpeg", "Bild"},
        {"foto.JPG", "Foto"},
        {"\xfc" "ber uns.png", "\xdc" "ber Uns"},
        {"ohne", "Ohne"},
        {"schule zz_klein.gif", "Schule Klein"},
    };
    for (const auto& [file, name] : cases) EXPECT_EQ(pictureNameProposal(file), name) << file;
}

TEST(TextBrowser, PictureElements) {
    EXPECT_EQ(pictureElement("bilder/Foto.JPG", PictureSize{101, 51}, "Foto \"Nr. 1\"", false),
              "\r\n<img class=\"rr\" src=\"bilder/Foto.JPG\" width=101 height=51 alt=\"Foto &quot;Nr. 1&quot;\">\r\n");
    EXPECT_EQ(pictureElement("a.png", PictureSize{3, 4}, "A", true),
              "<br><br clear=\"all\">\r\n<img class=\"rr\" src=\"a.png\" width=3 height=4 alt=\"A\" align=\"left\" >\r\n");
    EXPECT_EQ(pictureElement("a.png", std::nullopt, "A", false),
              "\r\n<img class=\"rr\" src=\"a.png\" ?width= ?height= alt=\"A\">\r\n");
    EXPECT_EQ(linkedToLargePicture("../b/", "zz_x.jpg", "<img>\r\n"), "<a href=\"../b/x.jpg\">\r\n  <img>\r\n</a>");
}

struct PictureInsertionTest : ::testing::Test {
    test::ScriptedDialogs dialogs;
    test::MemoryEditor editor{"Anfang Ende"};
    std::vector<std::pair<std::string, std::string>> copies;
    PictureSources sources{"/home/s/Seite/",
                           {},
                           [](const std::string& path) -> std::optional<PictureSize> {
                               if (path.find("kaputt") != std::string::npos) return std::nullopt;
                               return PictureSize{101, 51};
                           },
                           [this](const std::string& from, const std::string& to) {
                               copies.emplace_back(from, to);
                               return true;
                           }};

    void SetUp() override { editor.setSelection(0, 6); }
};

TEST_F(PictureInsertionTest, ThreeExplorerPicturesSortedWithBreaksBetween) {
    sources.explorerSelection = {"/home/s/Seite/bilder/zz_b.jpg", "/home/s/Seite/notiz.txt", "/home/s/Seite/a.png",
                                 "/home/s/Fotos/c.gif"};
    dialogs.expectAsk(std::string(kAskExplorerPictures) + "/home/s/Fotos/c.gif\r/home/s/Seite/a.png\r/home/s/Seite/bilder/zz_b.jpg\r",
                      Answer::Yes);
    dialogs.expectAskText(kAskPictureNamePrompt, "C").expectAsk(kAskClearAlign, Answer::No);
    dialogs.expectAskText(kAskPictureNamePrompt, "A").expectAsk(kAskClearAlign, Answer::Yes);
    dialogs.expectAskText(kAskPictureNamePrompt, "B").expectAsk(kAskClearAlign, Answer::No);
    insertPictures(editor, dialogs, sources, true);
    EXPECT_EQ(editor.text(),
              "Anfang\n<img class=\"rr\" src=\"../Fotos/c.gif\" width=151 height=76 alt=\"C\">\n<br>\n"
              "<br><br clear=\"all\">\n<img class=\"rr\" src=\"a.png\" width=151 height=76 alt=\"A\" align=\"left\" >\n"
              "<br>\n<a href=\"bilder/b.jpg\">\n  \n<img class=\"rr\" src=\"bilder/zz_b.jpg\" width=151 height=76 "
              "alt=\"B\">\n</a> Ende");
    EXPECT_TRUE(dialogs.scriptDone());
}

TEST_F(PictureInsertionTest, AFarPictureIsCopiedAndAnUnknownSizeExplained) {
    dialogs.expectOpenFile("/weit/weg/hier/kaputt bild.jpeg");
    dialogs.expectAsk("Soll das Bild in den Ordner \"/home/s/Seite/\"kopiert werden?", Answer::Yes);
    dialogs.expectAskText(kAskPictureNamePrompt, "Kaputt").expectAsk(kAskClearAlign, Answer::No);
    dialogs.expectInform(kMsgUnknownSize);
    insertPictures(editor, dialogs, sources, false);
    EXPECT_EQ(copies, (std::vector<std::pair<std::string, std::string>>{
                          {"/weit/weg/hier/kaputt bild.jpeg", "/home/s/Seite/kaputt bild.jpeg"}}));
    EXPECT_EQ(editor.text(),
              "Anfang\n<img class=\"rr\" src=\"kaputt bild.jpeg\" ?width= ?height= alt=\"Kaputt\">\n Ende");
    EXPECT_TRUE(dialogs.scriptDone());
}

TEST_F(PictureInsertionTest, NoPictureAndCancelledQuestionsInsertNothing) {
    dialogs.expectOpenFile("/home/s/Seite/text.txt").expectInform(kMsgNoPicture);
    dialogs.expectAskText(kAskPictureNamePrompt, std::nullopt);
    insertPictures(editor, dialogs, sources, false);
    dialogs.expectOpenFile(std::nullopt);
    insertPictures(editor, dialogs, sources, false);
    sources.explorerSelection = {"/home/s/Seite/a.png", "/home/s/Seite/b.png"};
    dialogs.expectAsk(std::string(kAskExplorerPictures) + "/home/s/Seite/a.png\r/home/s/Seite/b.png\r", Answer::Yes);
    dialogs.expectAskText(kAskPictureNamePrompt, "A").expectAsk(kAskClearAlign, Answer::No);
    dialogs.expectAskText(kAskPictureNamePrompt, std::nullopt);
    insertPictures(editor, dialogs, sources, false);
    EXPECT_EQ(editor.text(), "Anfang Ende");
    EXPECT_TRUE(dialogs.scriptDone());
}

TEST_F(PictureInsertionTest, DroppedFilesBecomeTheirPicturesWithoutTheExplorersQuestion) {
    EXPECT_FALSE(insertDroppedPictures(editor, dialogs, sources, {"/home/s/Seite/notiz.txt"}));
    dialogs.expectAskText(kAskPictureNamePrompt, "Ein Bild").expectAsk(kAskClearAlign, Answer::No);
    dialogs.expectAskText(kAskPictureNamePrompt, "Zwei \"x\"").expectAsk(kAskClearAlign, Answer::No);
    EXPECT_TRUE(insertDroppedPictures(editor, dialogs, sources,
                                      {"/home/s/Seite/unter/zwei.PNG", "/home/s/Seite/notiz.txt",
                                       "/home/s/Seite/ein bild.jpg"}));
    EXPECT_EQ(editor.text(),
              "Anfang\n<img class=\"rr\" src=\"ein bild.jpg\" width=101 height=51 alt=\"Ein Bild\">\n<br>\n"
              "\n<img class=\"rr\" src=\"unter/zwei.PNG\" width=101 height=51 alt=\"Zwei &quot;x&quot;\">\n Ende");
    EXPECT_TRUE(dialogs.scriptDone());
}

TEST_F(PictureInsertionTest, AnUntitledDocumentGetsTheFullPathAndNoCopyQuestion) {
    sources.documentFolder.clear();
    dialogs.expectOpenFile("/home/s/Fotos/see.jpg");
    dialogs.expectAskText(kAskPictureNamePrompt, "See").expectAsk(kAskClearAlign, Answer::No);
    insertPictures(editor, dialogs, sources, false);
    EXPECT_TRUE(copies.empty());
    EXPECT_EQ(editor.text(),
              "Anfang\n<img class=\"rr\" src=\"/home/s/Fotos/see.jpg\" width=101 height=51 alt=\"See\">\n Ende");
    EXPECT_TRUE(dialogs.scriptDone());
}

TEST_F(PictureInsertionTest, LinkAroundTheSelectionOrItsOwnTarget) {
    dialogs.expectOpenFile("/home/s/Seite/unter/Blatt 1.html");
    insertLink(editor, dialogs, sources.documentFolder);
    EXPECT_EQ(editor.text(), "<a href=\"unter/Blatt 1.html\">Anfang</a> Ende");
    editor.setCaret(0);
    dialogs.expectOpenFile("/ganz/woanders/x.pdf");
    insertLink(editor, dialogs, sources.documentFolder);
    EXPECT_EQ(editor.text(), "<a href=\"/ganz/woanders/x.pdf\">/ganz/woanders/x.pdf</a><a href=\"unter/Blatt 1.html\">Anfang</a> Ende");
    EXPECT_TRUE(dialogs.scriptDone());
}

TEST(TextBrowser, PaddingAndSurplusBlanks) {
    EXPECT_EQ(padLines("ab\r\nabcd\r\n\r\nc"), "ab  \r\nabcd\r\n    \r\nc   ");
    EXPECT_EQ(removeSurplusBlanks("a  b   c  \r\n   d"), "a b c\r\n d");
}

TEST(TextBrowser, PicturesNamedInThePageOrTheLine) {
    const std::string doc = "/home/s/Seite/";
    const std::vector<std::tuple<std::string, std::string, std::string>> pages = {
        {"<p>kein Bild</p>", "", kMsgNoImg},
        {"<IMG alt=\"x\">", "", kMsgNoSrc},
        {"<img src=\"\" alt=\"x\">", "", kMsgEmptySrc},
        {"a\n<IMG class=rr SRC=\"bilder/Foto 1.JPG\" width=3>\n<img src=\"b.png\">", "/home/s/Seite/bilder/Foto 1.JPG", ""},
        {"<img src=../Fotos/./a.png>", "/home/s/Fotos/a.png", ""},
        {"<img src='file:///srv/b.gif'>", "/srv/b.gif", ""},
        {"<img src=\"http://example.org/c.jpg\">", "http://example.org/c.jpg", ""},
    };
    for (const auto& [page, path, error] : pages) {
        const PictureReference r = firstPictureOfPage(page, doc);
        EXPECT_EQ(r.path, path) << page;
        EXPECT_EQ(r.error, error) << page;
    }
    EXPECT_EQ(pictureOfLine("  body { background: url(\"hg/stern.gif\") }", doc).path, "/home/s/Seite/hg/stern.gif");
    EXPECT_EQ(pictureOfLine("background:url(../x.png);", doc).path, "/home/s/x.png");
    EXPECT_EQ(pictureOfLine("nur Text", doc).error, kMsgNoImg);
}

TEST(TextBrowser, PictureAsItsOwnPage) {
    EXPECT_EQ(pictureHtmlName("/a/b/Foto.JPG"), "/a/b/Foto_h.html");
    EXPECT_EQ(pictureHtmlName("/a/b/bild.jpeg"), "/a/b/bild_h.html");
    EXPECT_EQ(picturePage("/a/b/zz_ein bild.png", PictureSize{4, 5}, "KOPF\r\n"),
              "KOPF\r\n\r\n\r\n<img class=\"rr\" src=\"zz_ein bild.png\" width=4 height=5 alt=\"Ein Bild\">\r\n"
              "\r\n</body>\r\n</html>\r\n");
}

}  // namespace
