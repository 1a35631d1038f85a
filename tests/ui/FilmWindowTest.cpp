#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <cstdint>
#include <fstream>
#include <string>

#include "ExplorerParts.h"
#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/Explorers.h"
#include "explorer/search/ResultModel.h"
#include "explorer/search/SearchWindow.h"
#include "films/FilmWindow.h"

using namespace pictra;

namespace {

void put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void put16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}
std::string chunk(const std::string& id, const std::string& body) {
    std::string out = id;
    put32(out, static_cast<std::uint32_t>(body.size()));
    return out + body;
}
std::string list(const std::string& type, const std::string& body) { return chunk("LIST", type + body); }

// An uncompressed AVI of `frames` pictures of 32 x 24 pixels at 25 per second, each a
// different grey: a film every backend can read, made without any outside program.
std::string tinyAvi(int frames) {
    const std::uint32_t width = 32, height = 24, frameSize = width * height * 3;
    std::string avih;
    for (std::uint32_t v : {40000u, frameSize * 25, 0u, 0x10u, std::uint32_t(frames), 0u, 1u, frameSize, width, height,
                            0u, 0u, 0u, 0u})
        put32(avih, v);
    std::string strh = "vidsDIB ";
    for (std::uint32_t v : {0u, 0u, 0u, 1u, 25u, 0u, std::uint32_t(frames), frameSize, 0xFFFFFFFFu, 0u}) put32(strh, v);
    for (std::uint32_t v : {0u, 0u, width, height}) put16(strh, static_cast<std::uint16_t>(v));
    std::string strf;
    put32(strf, 40);
    put32(strf, width);
    put32(strf, height);
    put16(strf, 1);
    put16(strf, 24);
    for (std::uint32_t v : {0u, frameSize, 0u, 0u, 0u, 0u}) put32(strf, v);
    std::string movi, index;
    for (int i = 0; i < frames; ++i) {
        put32(index, 0x62643030);  // "00db"
        put32(index, 0x10);        // a key frame
        put32(index, static_cast<std::uint32_t>(4 + movi.size()));
        put32(index, frameSize);
        movi += chunk("00db", std::string(frameSize, static_cast<char>(i * 10)));
    }
    const std::string body = list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf))) +
                             list("movi", movi) + chunk("idx1", index);
    return chunk("RIFF", "AVI " + body);
}

struct FilmWindowTest : ::testing::Test {
    test::UiFixture f;
    test::ExplorerParts parts{f};
    std::unique_ptr<ui::ExplorerWindow> explorer;
    std::string folder;

    void SetUp() override {
        folder = f.dir.path() + "filme";
        std::filesystem::create_directories(folder);
        explorer = std::make_unique<ui::ExplorerWindow>(parts.shared, '1', ui::ExplorerHooks{});
        explorer->start(folder);
    }
    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    ui::FilmWindow* film() { return explorer->findChild<ui::FilmWindow*>("FilmWindow"); }
};

}  // namespace

TEST_F(FilmWindowTest, TheDoubleClickPlaysAFilmThatReportsItsLength) {
    const std::string path = write("Ferien Film.avi", tinyAvi(25));
    explorer->openPath(path);
    ui::FilmWindow* window = film();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Ferien Film.avi");
    EXPECT_TRUE(window->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->duration() > 0; }, 20000));
    EXPECT_NEAR(window->duration(), 1000, 50);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->playing(); }, 20000));

    window->togglePause();
    EXPECT_FALSE(window->playing());
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());

    // The window is kept and plays the next film.
    const std::string second = write("zwei.avi", tinyAvi(50));
    explorer->openPath(second);
    EXPECT_EQ(film(), window);
    EXPECT_EQ(window->windowTitle(), "zwei.avi");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->duration() > 1500; }, 20000));
    EXPECT_NEAR(window->duration(), 2000, 50);
}

TEST_F(FilmWindowTest, AFileItCannotPlayIsReportedOnce) {
    for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
             {"kaputt.mp4", std::string(3000, '\x17')},
             {"leer.avi", ""},
             {"abgeschnitten.avi", tinyAvi(25).substr(0, 60)},
         }) {
        SCOPED_TRACE(name);
        const std::string path = write(name, bytes);
        f.dialogs.expectInform("Der Film \"" + path +
                               "\" kann nicht abgespielt werden.\rDie Datei ist beschädigt oder kein Film.");
        explorer->openPath(path);
        ASSERT_TRUE(QTest::qWaitFor([&] { return f.dialogs.scriptDone(); }, 20000));
        ASSERT_NE(film(), nullptr);
        EXPECT_FALSE(film()->isVisible());
        EXPECT_FALSE(film()->playing());
    }
}

struct FilmFromSearchTest : test::MainWindowTestBase {};

TEST_F(FilmFromSearchTest, AFoundFilmPlaysInTheSearchWindowsFilmWindow) {
    test::TempDir tree;
    tree.write("ausflug.avi", tinyAvi(25));
    window->findChild<QAction*>("FestplatteDurchsuchen1")->trigger();
    ui::SearchWindow& search = window->explorers().searchWindow();
    search.findChild<QLineEdit*>("Edit7")->setText(QString::fromStdString(tree.path()));
    search.findChild<QLineEdit*>("Edit1")->setText("ausflug");
    search.startSearch();
    ASSERT_EQ(search.results()->rowCount(), 1);
    search.openResult(0, false);
    auto* film = search.findChild<ui::FilmWindow*>("FilmWindow");
    ASSERT_NE(film, nullptr);
    EXPECT_EQ(film->windowTitle(), "ausflug.avi");
    ASSERT_TRUE(QTest::qWaitFor([&] { return film->duration() > 0; }, 20000));
    EXPECT_NEAR(film->duration(), 1000, 50);
}
