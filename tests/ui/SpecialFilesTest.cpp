// A double click in the explorer on a FIFO, a device or a socket: the message of
// loading, no document and no outside program.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "UiFixture.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/Explorers.h"

using namespace pictra;

namespace {

struct SpecialFilesUiTest : test::MainWindowTestBase {};

}  // namespace

TEST_F(SpecialFilesUiTest, DoubleClickingAFifoADeviceOrASocketSaysItCannotBeLoaded) {
    const std::string fifo = f.dir.file("rohr.jpg");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string socketPath = f.dir.file("steckdose.txt");
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

    ui::ExplorerWindow& explorer = window->explorers().first();
    const std::string unnamed = window->currentFileName();
    for (const std::string& path : {fifo, socketPath, std::string("/dev/zero")}) {
        f.dialogs.expectInform("Datei \"" + path +
                               "\"kann nicht geladen werden.\rMögliche Ursache: Gelöscht oder bereits von einem "
                               "anderen Programm eingelesen.");
        explorer.openPath(path);
        EXPECT_TRUE(f.dialogs.scriptDone()) << path;
        EXPECT_EQ(window->currentFileName(), unnamed) << path;
    }
    ::close(fd);
}
