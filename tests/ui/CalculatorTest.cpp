#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "UiFixture.h"
#include "calc/CalculatorDialog.h"
#include "calc/CalculatorLine.h"
#include "calc/CalculatorPanel.h"
#include "shell/MainWindow.h"
#include "shell/PlainEditor.h"

using namespace pictra;

namespace {
struct CalculatorTest : test::MainWindowTestBase {
    QString field(const char* name) { return window->findChild<QLineEdit*>(name)->text(); }
};
}  // namespace

TEST_F(CalculatorTest, F4SumsAColumnWhileTheLineIsShown) {
    editor()->setPlainText("Bücher   12,50  EUR\nHefte     3.80  EUR\nStifte    7,45  EUR\nSumme");
    QTest::keyClick(editor(), Qt::Key_F4);  // panel hidden: nothing happens
    EXPECT_EQ(window->calculatorPanel().state().sum, 0);
    window->findChild<QAction*>("Rechenblatt1")->trigger();
    ASSERT_TRUE(window->findChild<QWidget*>("PRechnen")->isVisibleTo(window.get()));
    QTextCursor c = editor()->textCursor();
    c.setPosition(9);
    editor()->setTextCursor(c);
    for (int i = 0; i < 3; ++i) QTest::keyClick(editor(), Qt::Key_F4);
    EXPECT_EQ(field("ERechnenSummeerlauf"), "  23,75  ");
    EXPECT_EQ(window->findChild<QLabel*>("Ldu")->text(), "3");
    EXPECT_EQ(editor()->textCursor().blockNumber(), 3);
    QTest::keyClick(editor(), Qt::Key_End);
    window->findChild<QPushButton*>("BRechneneinfuegen")->click();
    EXPECT_TRUE(editor()->toPlainText().contains("\nSumme  23,75\n"));  // the spare line follows
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_FALSE(window->findChild<QWidget*>("PRechnen")->isVisibleTo(window.get()));
}

TEST_F(CalculatorTest, F6CompletesTheSelectedExpression) {
    editor()->setPlainText("12*30,50 € =");
    editor()->selectAll();
    window->toggleCalculatorLine();
    QTest::keyClick(editor(), Qt::Key_F6);
    EXPECT_EQ(editor()->toPlainText(), "12*30,50 € =   366  €");
}

TEST_F(CalculatorTest, HelpTextsAndExampleSheet) {
    window->toggleCalculatorLine();
    f.dialogs.expectShowText("Wie kann man im Text Rechnungen durchführen?")
        .expectInform(calc::kCompleteHelp)
        .expectShowText("Beispiel für mögliche Berechnungen");
    window->findChild<QPushButton*>("Button6")->click();
    window->findChild<QPushButton*>("Button1")->click();
    QTest::mouseClick(window->findChild<QLabel*>("Label4"), Qt::LeftButton);
}

TEST_F(CalculatorTest, DialogShowsLiveResultsFractionsAndLogsOnce) {
    window->findChild<QAction*>("Rechner1")->trigger();
    ui::CalculatorDialog* dialog = window->calculatorDialog();
    EXPECT_EQ(dialog->windowTitle(), "Geben Sie einen Rechenausdruck ein");
    QTest::keyClicks(dialog->input(), "1/2+1/3+1/");
    EXPECT_EQ(dialog->result()->text(), "");
    QTest::keyClicks(dialog->input(), "4");
    EXPECT_EQ(dialog->result()->text(), "  1,083 333 333");
    QTest::keyClick(dialog->input(), Qt::Key_Return);
    dialog->calculate();
    EXPECT_EQ(dialog->result()->text(), "  1,083 333 333 = 13/12");
    EXPECT_EQ(dialog->log()->toPlainText(), "1/2+1/3+1/4 =   1,083 333 333 = 13/12");
    dialog->input()->setText("2+x");
    f.dialogs.expectInform(calc::kMsgBadExpression);
    dialog->calculate();
    dialog->toggleLog();
    EXPECT_TRUE(dialog->logOpen());
    EXPECT_EQ(dialog->findChild<QPushButton*>("Button3")->text(), "Minimal");
    dialog->toggleLog();
    EXPECT_EQ(dialog->findChild<QPushButton*>("Button3")->text(), "Logdatei");
    dialog->showHelp();
    EXPECT_TRUE(dialog->log()->toPlainText().endsWith("13/12\nAlle Rechnausdrücke mit folgenden Funktionen sind erlaubt:\n\n"
                                                      "Konstante Pi  = 3,141 592 654 = Verhältnis Umfang zu Durchmesser "
                                                      "im Kreis\n          EUR = 1,95583 Umrechnung 1 EUR = 1,95583 DM\n"
                                                      "\n       Standardfunktionen\n\nabs(x) sqrt(x) fak(x)   Betrag,"
                                                      "Wurzel, Fakultät\nint(x) exp(x)           Gaußsche "
                                                      "Klammerfunktion, e hoch x\nln(x)  lg(x)  lb(x)     nat. "
                                                      "Logarithmus,10-Logarithmus, 2-Lograithmus\n\n       "
                                                      "trigonometrische Funktionen\n\nsin(x) cos(x) tan(x)           im "
                                                      "Bogenmaß\nsi_(x) co_(x) ta_(x)           im Gradmaß (Hier Zum "
                                                      "Beispiel LEx=1/90)\narcsin(x) arccos(x)arctan(x)   Die "
                                                      "Umkehrfunktionen. Ergebnis im Bogenmaß\n\nerlaubt zum "
                                                      "Beispiel:\n\n1/2+1/3+1/4 Brüche werden mit einer Genauigkeit von "
                                                      "10^(-9) angegeben.\nsqrt(3^2 + 4^2)     Hinweis: \"^\"=\"hoch\", "
                                                      "d.h. 4^2=4*4 4^3=4*4*4\n1/2*(8+14,8+15,9)   Komma oder Punkt ist "
                                                      "\"Dezimalseparator\"\n1/2*(8+14.8+15.9)"));
    EXPECT_GE(dialog->width(), 600);
}

TEST_F(CalculatorTest, TheCalculatorLineFitsANarrowWindow) {
    window->resize(700, 500);
    window->show();
    window->toggleCalculatorLine();
    QApplication::processEvents();
    EXPECT_LE(window->width(), 700);
    EXPECT_LE(window->calculatorPanel().minimumSizeHint().width(), 700);
}
