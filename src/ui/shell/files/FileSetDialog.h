#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace pictra {
class Dialogs;
}

namespace pictra::ui {

// `Form7` "Makro ändern": the name and the files of one file set.
class FileSetDialog : public QDialog {
    Q_OBJECT
public:
    // `documentName(n)`: the file name of open document n (counted from 1), empty when there is none.
    FileSetDialog(Dialogs& dialogs, std::function<std::string(int)> documentName, QWidget* parent = nullptr);

    void fill(int number, const std::string& name, const std::string& files);
    int number() const;
    std::string name() const;
    std::string files() const;
    QPlainTextEdit* list() const { return m_list; }

private:
    Dialogs& m_dialogs;
    std::function<std::string(int)> m_documentName;
    QLabel* m_number = nullptr;
    QLineEdit* m_name = nullptr;
    QPlainTextEdit* m_list = nullptr;
};

}  // namespace pictra::ui
