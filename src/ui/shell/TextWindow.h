#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QMenuBar;

namespace pictra {
class Dialogs;
class Tones;
}  // namespace pictra

namespace pictra::ui {

class PlainEditor;

// The text window `Form8`: shows a text, lets the user edit it and returns the
// result chosen by its menu ("Zurück", "Abbrechen", "Dieses Fenster schließen").
class TextWindow : public QDialog {
    Q_OBJECT
public:
    TextWindow(Dialogs& dialogs, Tones& tones, QWidget* parent = nullptr);

    // Modal: the text as chosen by the menu, or the cancel marker.
    QString editText(const QString& title, const QString& text, const QFont& font);
    // Shows the text the same way; modal or not.
    void showText(const QString& title, const QString& text, const QFont& font, bool modal);

    PlainEditor* editor() const { return m_editor; }
    QString result() const { return m_result; }

    // Menu commands.
    void back();
    void cancel();
    void closeWithText();
    void openFile();
    void saveFile();
    void search();
    void searchNext();
    void sortLines();
    void print();

protected:
    void reject() override;

private:
    void buildMenu(QMenuBar* bar);
    void present(const QString& title, const QString& text, const QFont& font);
    void fitToContent();
    void showMessage(const QString& text);

    Dialogs& m_dialogs;
    Tones& m_tones;
    PlainEditor* m_editor = nullptr;
    QLabel* m_message = nullptr;
    QString m_original;
    QString m_result;
    QString m_searchTerm;
};

}  // namespace pictra::ui
