#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace pictra::ui {

// `Form4` ("Ergebnis Suche"): the lines found in all open documents.
class SearchResults : public QDialog {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void(const QString&)> searchAll;   // "Alles durchsuchen"
        std::function<void(const QString&)> searchOne;   // "Datei durchsuchen"
    };
    SearchResults(Hooks hooks, QWidget* parent = nullptr);

    void setTerm(const QString& term);
    QString term() const;
    void clearResults();
    void addResult(const QString& line);
    QPlainTextEdit* list() const { return m_list; }

private:
    Hooks m_hooks;
    QPlainTextEdit* m_list = nullptr;
    QLineEdit* m_term = nullptr;
};

}  // namespace pictra::ui
