// Files dropped on the main window's document editor: pictures become the element
// "Bild einfügen" makes, anything else is the editor's own drop.
#include <gtest/gtest.h>

#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QTextBlock>
#include <QUrl>
#include <filesystem>

#include "UiFixture.h"
#include "html/preview/PictureInsertion.h"
#include "shell/DocumentArea.h"

using namespace pictra;

namespace {

struct DropCase {
    const char* label;
    const char* document;  // "" for an untitled document
    const char* dropped;   // relative to the temporary folder
    const char* name;      // answer to the name question; nullptr: no question
    const char* expected;  // the text afterwards; "{dir}" is the temporary folder
};

// The text is "Anfang\nEnde" and the drop lands at the start of "Ende".
const DropCase kCases[] = {
    {"jpg in the document's folder", "Seite/index.html", "Seite/Foto.jpg", "Foto",
     "Anfang\n\n<img class=\"rr\" src=\"Foto.jpg\" width=48 height=32 alt=\"Foto\">\nEnde"},
    {"jpg in a subfolder, its case and blanks kept", "Seite/index.html", "Seite/bilder/Am See.JPG", "Am See",
     "Anfang\n\n<img class=\"rr\" src=\"bilder/Am See.JPG\" width=48 height=32 alt=\"Am See\">\nEnde"},
    {"jpg beside the document's folder", "Seite/index.html", "Fotos/Foto.jpg", "Foto",
     "Anfang\n\n<img class=\"rr\" src=\"../Fotos/Foto.jpg\" width=48 height=32 alt=\"Foto\">\nEnde"},
    {"jpg dropped into an untitled document", "", "Seite/Foto.jpg", "Foto",
     "Anfang\n\n<img class=\"rr\" src=\"{dir}Seite/Foto.jpg\" width=48 height=32 alt=\"Foto\">\nEnde"},
};

struct MainEditorDropTest : test::MainWindowTestBase {
    void SetUp() override {
        MainWindowTestBase::SetUp();
        window->resize(800, 600);
        window->show();
    }

    // Loads `document` (or keeps the untitled one) holding "Anfang\nEnde".
    void openDocument(const std::string& document) {
        if (document.empty()) {
            editor()->setPlainText("Anfang\nEnde");
            return;
        }
        std::filesystem::create_directories(std::filesystem::path(f.dir.path() + document).parent_path());
        f.dir.write(document, "Anfang\r\nEnde");
        ASSERT_TRUE(window->files().loadFile(f.dir.path() + document));
    }

    std::string makeJpeg(const std::string& relative) {
        const std::filesystem::path path(f.dir.path() + relative);
        std::filesystem::create_directories(path.parent_path());
        QImage picture(48, 32, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        EXPECT_TRUE(picture.save(QString::fromStdString(path.string()), "JPG"));
        return path.string();
    }

    // Drags `file` over the editor and drops it at the start of line 2; whether the drag was taken.
    static bool drop(QPlainTextEdit* target, const std::string& file) {
        QTextCursor at(target->document());
        at.setPosition(target->document()->findBlockByNumber(1).position());
        const QPoint point = target->cursorRect(at).center();
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
        QDragEnterEvent enter(point, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target->viewport(), &enter);
        QDropEvent dropped(QPointF(point), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target->viewport(), &dropped);
        return enter.isAccepted() && dropped.isAccepted();
    }
};

struct MainEditorPictureDropTest : MainEditorDropTest, ::testing::WithParamInterface<DropCase> {};

TEST_P(MainEditorPictureDropTest, APictureBecomesItsElementAtTheDrop) {
    const DropCase& c = GetParam();
    openDocument(c.document);
    const std::string file = makeJpeg(c.dropped);
    f.dialogs.expectAskText(preview::kAskPictureNamePrompt, c.name).expectAsk(preview::kAskClearAlign, Answer::No);
    EXPECT_TRUE(drop(editor(), file));
    QString expected = QString::fromUtf8(c.expected);
    expected.replace("{dir}", QString::fromStdString(f.dir.path()));
    EXPECT_EQ(editor()->toPlainText().toStdString(), expected.toStdString());
    EXPECT_TRUE(f.dialogs.scriptDone());
    EXPECT_TRUE(window->documents().tabText(window->documents().currentIndex()).contains("*"));
}

INSTANTIATE_TEST_SUITE_P(Cases, MainEditorPictureDropTest, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return "Case" + std::to_string(param.index); });

// A file that is no picture asks nothing and does what the bare editor does with it.
TEST_F(MainEditorDropTest, AnotherFileKeepsTheEditorsOwnDrop) {
    openDocument("Seite/index.html");
    f.dir.write("Seite/notiz.txt", "Notiz\r\n");
    const std::string file = f.dir.path() + "Seite/notiz.txt";
    ui::PlainEditor bare;
    bare.resize(800, 600);
    bare.setPlainText("Anfang\nEnde");
    bare.show();
    drop(&bare, file);
    drop(editor(), file);
    EXPECT_FALSE(editor()->toPlainText().contains("<img"));
    EXPECT_EQ(editor()->toPlainText().toStdString(), bare.toPlainText().toStdString());
    EXPECT_TRUE(f.dialogs.log().empty());
}

}  // namespace
