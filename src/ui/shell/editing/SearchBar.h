#pragma once

#include <QWidget>
#include <functional>

#include "shell/editing/Search.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace pictra::ui {

// `Psuchen`: the thin search bar above the documents.
class SearchBarWidget : public QWidget, public search::SearchBar {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void(const std::string&)> notice;
        std::function<void()> statusBar;
        std::function<void()> beep;
        std::function<void()> focusEditor;
        // "X": the editor font again.
        std::function<void()> resetFont;
    };
    SearchBarWidget(Hooks hooks, QWidget* parent = nullptr);

    std::string term() const override;
    std::string replacement() const override;
    bool matchCase() const override;
    void setMatchCase(bool on) override;
    bool bigHits() const override;
    void showBar(bool replacePanel) override;
    void termSearched() override;
    void showNotice(const std::string& text) override { m_hooks.notice(text); }
    void showStatusBar() override { m_hooks.statusBar(); }
    void beep() override { m_hooks.beep(); }

    QComboBox* combo() const { return m_combo; }
    QLineEdit* replaceField() const { return m_replace; }
    void setTerm(const QString& term);
    void setHistory(const std::vector<std::string>& history);

signals:
    void first();
    void next();
    void previous();
    void last();
    void replaceNext();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setComboColour(bool red);

    Hooks m_hooks;
    QComboBox* m_combo = nullptr;
    QWidget* m_buttons = nullptr;
    QWidget* m_replacePanel = nullptr;
    QLineEdit* m_replace = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QCheckBox* m_big = nullptr;
};

}  // namespace pictra::ui
