#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
    // Before the QApplication exists, so that test discovery at build time works without a display too.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("PICTRA_HOME", "/tmp/pictra-ui-tests", 0);
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
