// Long work on big or hostile pages: Tidy on its own thread behind a depth limit,
// the indentation under the cancel window, and the unsaved texts secured before
// such commands and offered back at the next start.
#include <gtest/gtest.h>

#include <QFile>

#include "UiFixture.h"
#include "html/NestingDepth.h"
#include "platform/Tidy.h"
#include "shell/DocumentArea.h"
#include "shell/EmergencyCopy.h"
#include "shell/QtEditorView.h"
#include "shell/UnsavedTexts.h"
#include "tables/SheetDocument.h"

using namespace pictra;

namespace {

std::string nested(const std::string& open, int depth) {
    std::string page = "<html><head><title>t</title></head><body>\n";
    for (int i = 0; i < depth; ++i) page += open;
    return page + "x</body></html>\n";
}

struct LongWorkTest : test::MainWindowTestBase {
    void setText(const QString& text) {
        editor()->setPlainText(text);
        window->documents().setTabText(0, "?");
    }
};

}  // namespace

TEST_F(LongWorkTest, TidyRefusesPagesNestedTooDeepAndLeavesTheText) {
    const struct {
        std::string open;
        int depth;
    } cases[] = {{"<div>", 10000}, {"<ol>", 100000}, {"<table><tr><td>", html::kTidyDepthLimit + 1}};
    for (const auto& c : cases) {
        const QString page = QString::fromStdString(nested(c.open, c.depth));
        setText(page);
        f.dialogs.expectInform(html::tooDeepForTidy(c.depth));
        trigger("Tidy1");
        EXPECT_EQ(editor()->toPlainText(), page) << c.open;
        EXPECT_TRUE(f.dialogs.shownTexts().empty());
    }
}

// The limit is far below what Tidy's thread survives: 100,000 nested lists need
// about 9 MB of stack, more than the program's main thread has.
TEST_F(LongWorkTest, TidysThreadHoldsNestingThatWouldOverflowTheMainStack) {
    platform::TidyJob job(nested("<ol>", 100000), platform::TidyStyle::Document, 200000);
    while (!job.finished(std::chrono::milliseconds(100))) {
    }
    const platform::TidyResult result = job.result();
    EXPECT_TRUE(result.ok) << result.errors.substr(0, 500);
    EXPECT_FALSE(result.refused);
}

TEST_F(LongWorkTest, TidyStillCorrectsANormalPageAndReportsOneItCannotCorrect) {
    setText("<html><head><title>t</title></head><body><p>eins<p>zwei</body></html>");
    f.dialogs.expectShowText("Fehlermeldungen von TINY");
    trigger("Tidy1");
    EXPECT_TRUE(editor()->toPlainText().contains("<!DOCTYPE")) << editor()->toPlainText().toStdString();

    // Tidy writes no page when it finds errors: nothing to read back, the text stays.
    const QString broken = "<html><head><title>t</title></head><body><foo>x</foo></body></html>";
    setText(broken);
    f.dialogs.expectInform("Konnte Tidy-Datei nicht einlesen.\rIm Dos-Fenster ist erkenntlich, warum?")
        .expectShowText("Fehlermeldungen von TINY");
    trigger("Tidy1");
    EXPECT_EQ(editor()->toPlainText(), broken);
    EXPECT_NE(f.dialogs.shownTexts().back().find("<foo>"), std::string::npos);
}

TEST_F(LongWorkTest, ACancelledIndentationLeavesTheTextAsItWas) {
    // Enough lines for several pieces when the result goes into the editor.
    QString page = "<html>\n<body>\n";
    for (int i = 0; i < 12000; ++i) {
        page += QString("<h2>Abschnitt %1</h2>\n<p>Ein <b>fetter</b> Absatz.<br>\nNoch eine Zeile.</p>\n").arg(i);
        if (i % 10 == 0) page += "<!-- Abschnitt -->\n<pre>\n  vor  formatiert\n</pre>\n";
    }
    page += "</body>\n</html>";

    setText(page);
    f.dialogs.expectAsk("Alles umstrukturieren?", Answer::Yes);
    trigger("HTMLEinruecken1");
    const QString indented = editor()->toPlainText();
    ASSERT_NE(indented, page);
    const int steps = f.dialogs.cancelSteps();
    ASSERT_GT(steps, 20);
    // Clicks while the page is worked on, while the old text goes and while the new one comes.
    for (const int click : {1, steps / 2, steps - 8, steps - 1, steps}) {
        setText(page);
        f.dialogs.clickCancelAtStep(click);
        f.dialogs.expectAsk("Alles umstrukturieren?", Answer::Yes);
        trigger("HTMLEinruecken1");
        EXPECT_EQ(editor()->toPlainText(), page) << click;
        EXPECT_TRUE(editor()->isEnabled());
        EXPECT_FALSE(editor()->textCursor().hasSelection());
    }
    f.dialogs.clickCancelAtStep(0);
    setText(page);
    f.dialogs.expectAsk("Alles umstrukturieren?", Answer::Yes);
    trigger("HTMLEinruecken1");
    EXPECT_EQ(editor()->toPlainText(), indented);
    editor()->undo();  // one step takes the whole indentation back
    EXPECT_EQ(editor()->toPlainText(), page);
}

TEST_F(LongWorkTest, UnsavedTextsAreSecuredBeforeCommandsOverTheWholeText) {
    const std::string copy = ui::emergencyCopyName(f.paths);
    editor()->setPlainText("p {\n  color : red;\n}");  // typed: the tab shows "*"
    window->newDocument();
    window->setCurrentFileName(f.dir.file("brief.txt"));
    editor()->setPlainText("Kein Stern");
    trigger("CSSKomprimieren1");
    const auto secured = emergency::readCopy(copy);
    ASSERT_EQ(secured.size(), 2u);
    EXPECT_EQ(secured[0].fileName, "?");
    EXPECT_EQ(secured[0].text, "p {\r\n  color : red;\r\n}");
    EXPECT_EQ(secured[1].text, "Kein Stern");

    window->documents().setTabText(0, "?");
    window->documents().setTabText(1, "brief.txt");
    f.dialogs.expectInform(tables::kMsgNotATable)
        .expectAsk(tables::kAskShowExample, Answer::No)
        .expectAsk(tables::kAskNewTable, Answer::No);
    trigger("Tabelle1");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(copy)));  // nothing unsaved any more: no copy
}

TEST_F(LongWorkTest, TheNextStartOffersTheTextsOfARunThatDidNotEnd) {
    const std::string name = f.dir.file("brief.html");
    ASSERT_TRUE(emergency::writeCopy(emergency::copyFileName(f.paths, 1),
                                     {{"?", "Erste Zeile\r\nzweite"}, {name, "<p>Gr\xFC\xDF" "e</p>"}}));
    f.dialogs.expectAsk(emergency::restoreQuestion({{"?", ""}, {name, ""}}), Answer::Yes);
    ui::offerEmergencyRestore(*window);
    ASSERT_EQ(window->documents().count(), 2);
    EXPECT_EQ(window->documents().slot(0).fileName, "?");
    EXPECT_EQ(window->documents().slot(0).editor->toPlainText(), "Erste Zeile\nzweite");
    EXPECT_EQ(window->documents().slot(1).fileName, name);
    EXPECT_EQ(window->documents().slot(1).editor->toPlainText(), "<p>Grüße</p>");
    EXPECT_TRUE(window->documents().isModified(0));
    EXPECT_TRUE(window->documents().isModified(1));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(emergency::copyFileName(f.paths, 1))));
}
