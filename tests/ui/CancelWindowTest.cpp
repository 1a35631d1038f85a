#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "shell/CancelWindow.h"

using pictra::ui::CancelWindow;

TEST(CancelWindow, ReportsAClickOnItsButtonUntilBegunAgain) {
    CancelWindow window;
    EXPECT_EQ(window.objectName(), "Form14abbrechen");
    EXPECT_EQ(window.windowTitle(), "Abbrechen?");
    window.begin("Datei 1 von 3");
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.step("Datei 2 von 3"));
    EXPECT_EQ(window.findChild<QLabel*>("LText")->text(), "Datei 2 von 3");
    auto* button = window.findChild<QPushButton*>("BAbbrechen");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "Abbrechen");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(window.step("Datei 3 von 3"));
    window.end();
    EXPECT_FALSE(window.isVisible());
    window.begin("neu");
    EXPECT_FALSE(window.step("neu"));
    QTest::mouseClick(&window, Qt::LeftButton);
    EXPECT_TRUE(window.step("neu"));
    window.end();
}
