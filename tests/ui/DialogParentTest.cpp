#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <memory>

#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "pictures/PictureWindow.h"
#include "platform/pictures/PictureFiles.h"
#include "shell/AppContext.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"
#include "shell/QtDialogs.h"
#include "tables/TableSheetWindow.h"

using namespace pictra;

namespace {

// How a message box stood while it was open.
struct Seen {
    bool shown = false;
    QString text;
    QWidget* parent = nullptr;
    QWindow* transientParent = nullptr;
    QWidget* active = nullptr;
};

// The main window with the real dialogs of the program, as the user meets them.
struct DialogParentTest : ::testing::Test {
    test::TempDir dir;
    ProgramPaths paths{dir.path(), "pictra", ""};
    SettingsStore store;
    test::RecordingSound sound;
    Tones tones{store, sound};
    ui::QtDialogs dialogs{tones};
    SettingsFile settingsFile{paths, dialogs};
    FolderList explorerFolders;
    ui::AppContext context{paths, store, settingsFile, explorerFolders, dialogs, tones, &dialogs};
    std::unique_ptr<ui::MainWindow> window;
    QTimer poll;

    void SetUp() override {
        window = std::make_unique<ui::MainWindow>(context);
        dialogs.setParentWindow(window.get());
        window->newDocument();
        window->show();
        poll.setInterval(5);
    }
    void TearDown() override {
        poll.stop();
        dialogs.setParentWindow(nullptr);
        window->confirmClose = [](int) { return true; };
        window.reset();
    }

    // Answers the next message box with `button` once it is up, noting how it stood.
    void answerNextBox(Seen& seen, const QString& button) {
        poll.disconnect();
        auto ticks = std::make_shared<int>(0);
        QObject::connect(&poll, &QTimer::timeout, [this, &seen, button, ticks] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            // The box takes the activation a moment after it shows; note how things
            // stood once it has (or after a second, when it never does).
            if (QApplication::activeWindow() != box && ++*ticks < 200)
                return;
            poll.stop();
            seen = {true, box->text(), box->parentWidget(), box->windowHandle()->transientParent(),
                    QApplication::activeWindow()};
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == button) {
                    b->click();
                    return;
                }
            }
            ADD_FAILURE() << "no button " << button.toStdString();
            box->reject();
        });
        poll.start();
    }

    static void activate(QWidget* w) {
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }

    // The question stood over `origin`, the main window stayed behind, and the
    // focus went back to `origin` after the answer.
    void expectQuestionBelongedTo(const Seen& seen, QWidget* origin, const QString& text) {
        ASSERT_TRUE(seen.shown);
        EXPECT_TRUE(seen.text.contains(text)) << seen.text.toStdString();
        EXPECT_EQ(seen.parent, origin);
        EXPECT_EQ(seen.transientParent, origin->windowHandle());
        EXPECT_NE(seen.active, window.get());
        EXPECT_TRUE(QTest::qWaitFor([origin] { return QApplication::activeWindow() == origin; }, 2000))
            << "active after the answer: "
            << (QApplication::activeWindow() ? QApplication::activeWindow()->objectName().toStdString() : "none");
    }
};

}  // namespace

TEST_F(DialogParentTest, TheQuestionAfterHBelongsToThePictureWindow) {
    const std::string folder = dir.path() + "bilder";
    std::filesystem::create_directories(folder);
    pictures::Bitmap32 picture(200, 150);
    picture.clear(0xFF808080);
    platform::pictures::savePicture(folder + "/a.png", picture);
    ui::PictureWindow* pictures = window->pictureWindow();
    pictures->showPictureFile(folder + "/a.png", {folder + "/a.png"});
    ASSERT_TRUE(QTest::qWaitFor([pictures] { return !pictures->loading(); }, 20000));
    activate(pictures);

    Seen seen;
    answerNextBox(seen, "&Nein");
    QTest::keyClick(pictures, Qt::Key_H);
    expectQuestionBelongedTo(seen, pictures, "Noch einmal?");
    pictures->close();
}

TEST_F(DialogParentTest, TheOverwriteQuestionBelongsToTheTableSheet) {
    Seen note;
    answerNextBox(note, "OK");
    window->findChild<QAction*>("BeispielTabelle1")->trigger();
    ASSERT_TRUE(note.shown);
    ui::TableSheetWindow* sheet = window->findChild<ui::TableSheetWindow*>("FORM19");
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(sheet->isVisible());
    // Without a window manager a click leaves the main window the active one: the
    // question still goes with the window clicked in.
    activate(window.get());

    sheet->findChild<QAction*>("SummenBerechnen1")->trigger();
    Seen seen;
    answerNextBox(seen, "&Ja");
    QTest::mouseClick(sheet->findChild<QPushButton*>("BBerechne"), Qt::LeftButton);
    expectQuestionBelongedTo(seen, sheet, "Achtung! Das Feld 6 wird überschrieben!");
    sheet->hide();
}

// A question of a command of the main window stays with it; so does one asked
// while no window of the program is active.
TEST_F(DialogParentTest, WithoutAnotherActiveWindowTheQuestionBelongsToTheMainWindow) {
    activate(window.get());
    Seen seen;
    answerNextBox(seen, "&Ja");
    EXPECT_EQ(dialogs.ask("Wirklich?"), Answer::Yes);
    expectQuestionBelongedTo(seen, window.get(), "Wirklich?");

    QApplication::setActiveWindow(nullptr);
    answerNextBox(seen, "OK");
    dialogs.inform("Fertig");
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.parent, window.get());
}

// The number asked again after a wrong entry stays with the window that asked.
TEST_F(DialogParentTest, EveryPromptOfOneCallBelongsToTheSameWindow) {
    ui::TableSheetWindow* sheet = window->tableSheet();
    sheet->show();
    activate(sheet);
    std::vector<QWidget*> parents;
    int step = 0;
    poll.disconnect();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        parents.push_back(modal->parentWidget());
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->buttons().front()->click();
        } else if (step++ == 0) {
            modal->findChild<QLineEdit*>()->setText("zwölf");
            qobject_cast<QDialog*>(modal)->accept();
        } else {
            modal->findChild<QLineEdit*>()->setText("12");
            qobject_cast<QDialog*>(modal)->accept();
        }
    });
    poll.start();
    long long number = 3;
    EXPECT_TRUE(dialogs.askNumber("Zahl", "Welche Zahl?", number));
    poll.stop();
    EXPECT_EQ(number, 12);
    EXPECT_EQ(parents, (std::vector<QWidget*>{sheet, sheet, sheet}));  // input, "Bitte nur eine Zahl eingeben!", input
    EXPECT_TRUE(QTest::qWaitFor([sheet] { return QApplication::activeWindow() == sheet; }, 2000));
    sheet->hide();
}

// The port's own windows go over the window they serve, too.
TEST_F(DialogParentTest, TheTextWindowAndTheCancelWindowStandOverTheWindowTheyServe) {
    ui::TableSheetWindow* sheet = window->tableSheet();
    sheet->show();
    activate(sheet);
    dialogs.beginCancelWindow("Bitte warten");
    QWidget* cancel = sheet->findChild<QWidget*>("Form14abbrechen");
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(cancel->isVisible());
    dialogs.endCancelWindow();

    QWidget* textParent = nullptr;
    poll.disconnect();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* text = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!text || text->objectName() != "Form8")
            return;
        poll.stop();
        textParent = text->parentWidget();
        text->reject();
    });
    poll.start();
    dialogs.showText("Hinweis", "Ein Text");
    EXPECT_EQ(textParent, sheet);
    EXPECT_TRUE(QTest::qWaitFor([sheet] { return QApplication::activeWindow() == sheet; }, 2000));
    sheet->hide();
}
