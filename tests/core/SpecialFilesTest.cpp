// FIFOs, devices and sockets: a double click opens nothing by their names, and no
// part of the program opens them for reading (a FIFO would wait for a writer for ever).
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "DocumentFilesFixture.h"
#include "common/FileIo.h"
#include "explorer/OpenDispatch.h"

using namespace pictra;
namespace fs = std::filesystem;

namespace {

std::string cannotLoad(const std::string& path) {
    return "Datei \"" + path + "\"kann nicht geladen werden.\rMögliche Ursache: Gelöscht oder bereits von einem "
           "anderen Programm eingelesen.";
}

// A socket bound to `path`, closed at the end (the name stays until removed).
struct BoundSocket {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    explicit BoundSocket(const std::string& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0) << path;
    }
    ~BoundSocket() { ::close(fd); }
};

// Counts the opens of a file from the moment it is watched.
struct OpenWatch {
    int fd = ::inotify_init1(IN_NONBLOCK);
    explicit OpenWatch(const std::string& path) { EXPECT_GE(::inotify_add_watch(fd, path.c_str(), IN_OPEN), 0); }
    ~OpenWatch() { ::close(fd); }
    int opens() const {
        alignas(inotify_event) char buffer[4096];
        int count = 0;
        ssize_t n = 0;
        while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                count += (event->mask & IN_OPEN) != 0;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return count;
    }
};

struct SpecialFilesTest : test::DocumentFilesFixture {
    std::string fifo;
    std::string socketPath;
    std::unique_ptr<BoundSocket> socket;

    void SetUp() override {
        DocumentFilesFixture::SetUp();
        fifo = file("rohr.txt");
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
        socketPath = file("steckdose.html");
        socket = std::make_unique<BoundSocket>(socketPath);
    }
};

}  // namespace

TEST(OpenDispatch, ASpecialFileIsNeverOpenedByItsName) {
    for (const char* name : {"/tmp/rohr", "/tmp/rohr.txt", "/tmp/rohr.jpg", "/tmp/rohr.mp3", "/tmp/rohr.htm",
                             "/tmp/rohr.rtf", "/tmp/rohr.exe", "/dev/null"}) {
        for (const bool fromReadItem : {false, true}) {
            explorer::OpenRequest request{name, {}, false, fromReadItem, false};
            request.special = true;
            EXPECT_EQ(explorer::dispatchOpen(request), explorer::OpenAction::NotLoadable) << name;
        }
    }
    explorer::OpenRequest ordinary{"/tmp/brief.txt", "Hallo", true, false, false};
    EXPECT_EQ(explorer::dispatchOpen(ordinary), explorer::OpenAction::Document);
}

TEST_F(SpecialFilesTest, NothingOpensThemAndLoadingSaysSo) {
    const OpenWatch fifoOpens(fifo);
    for (const std::string& path : {fifo, socketPath, std::string("/dev/null"), std::string("/dev/zero")}) {
        EXPECT_EQ(fileio::readFile(path), std::nullopt) << path;
        std::string error;
        EXPECT_FALSE(fileio::copyFileAtomic(path, file("kopie"), error)) << path;
        EXPECT_FALSE(fs::exists(file("kopie"))) << path;
        dialogs.expectInform(cannotLoad(path));
        EXPECT_FALSE(files.loadFile(path)) << path;
    }
    EXPECT_EQ(fifoOpens.opens(), 0);
    EXPECT_EQ(docs.docs.size(), 1u);
    EXPECT_EQ(docs.docs[0].fileName, "?");
}
