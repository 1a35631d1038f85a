#include <gtest/gtest.h>

#include <QTextBlock>

#include "UiFixture.h"
#include "html/HtmlRewrites.h"
#include "shell/DocumentArea.h"

using namespace pictra;

namespace {

struct HtmlStructureMenuTest : test::MainWindowTestBase {
    void setText(const QString& text) {
        editor()->setPlainText(text);
        window->documents().setTabText(0, "?");
    }
    QColor colourAt(int position) {
        QTextCursor c(editor()->document());
        c.setPosition(position + 1);
        return c.charFormat().foreground().color();
    }
};

}  // namespace

TEST_F(HtmlStructureMenuTest, IndentCountAndColourAMessyPage) {
    setText("<ul>\n<li>\nx\n</li>\n<b>y</b>\n</ul>");
    f.dialogs.expectAsk("Alles umstrukturieren?", Answer::Yes);
    trigger("HTMLEinruecken1");
    EXPECT_EQ(editor()->toPlainText(), "<ul>\n  <li>x</li> \n  <b>y</b> \n</ul> ");

    f.dialogs.expectShowText("Zählergebnis");
    trigger("TagsZaehlen1");
    EXPECT_NE(f.dialogs.shownTexts().back().find("Gratuliere: keine"), std::string::npos);

    window->documents().setTabText(0, "?");
    trigger("TagsFarbig1");
    EXPECT_EQ(colourAt(0), QColor(Qt::red));
    EXPECT_EQ(colourAt(5), QColor(Qt::black));  // text between tags keeps its colour
    EXPECT_EQ(window->documents().tabText(0), "?");  // colouring is no edit

    f.dialogs.expectAskText("Welches Tag? (z.B. \"<a>\"", "<li>").expectShowText("Alle Zeilen mit <li>");
    trigger("EinzelnesTag1");
    EXPECT_NE(f.dialogs.shownTexts().back().find("Gratuliere: Zu allen <li>-Tags"), std::string::npos);
}

TEST_F(HtmlStructureMenuTest, TidyCorrectsThePageAndShowsItsMessages) {
    setText("<html><head><title>t</title></head><body><p>Gr\u00fc\u00dfe<p>zwei</body></html>");
    f.dialogs.expectShowText("Fehlermeldungen von TINY");
    trigger("Tidy1");
    const QString page = editor()->toPlainText();
    EXPECT_TRUE(page.contains("<p>Grüße</p>") || page.contains("<p>\n      Grüße\n    </p>")) << page.toStdString();
    EXPECT_TRUE(page.contains("<!DOCTYPE")) << page.toStdString();
    EXPECT_NE(f.dialogs.shownTexts().back().find("Warning"), std::string::npos);
}

TEST_F(HtmlStructureMenuTest, SkeletonRenamesThePlainTextFile) {
    setText("Hallo");
    window->setCurrentFileName("/tmp/brief.txt");
    trigger("HTMLGeruest1");
    EXPECT_EQ(window->currentFileName(), "/tmp/briefz.html");
    EXPECT_TRUE(editor()->toPlainText().startsWith(html::kDoctype));
    EXPECT_TRUE(editor()->toPlainText().endsWith("Hallo\n\n\n</body>\n</html>"));
}
