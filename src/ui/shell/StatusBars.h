#pragma once

#include <QLabel>
#include <QObject>
#include <QString>

class QStatusBar;
class QMainWindow;

namespace pictra::ui {

// The notice bar `StatusBar2`: a large bold line that replaces the status bar
// for a few timer ticks; a click shows the whole notice.
class NoticeBar : public QLabel {
    Q_OBJECT
public:
    explicit NoticeBar(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// The status bar `StatusBar1` (date and time, caret, messages) and the notice bar.
class StatusBars : public QObject {
    Q_OBJECT
public:
    // Installs the status bar in the window; the notice bar is placed by the caller.
    explicit StatusBars(QMainWindow* window);

    NoticeBar* noticeBar() const { return m_notice; }
    QStatusBar* statusBar() const { return m_status; }

    void setDateTime(const QString& text);
    void setCaret(int line, int column);
    QString panelText(int panel) const;

    // Panel 3 with an aqua background for a non-empty text.
    void showStatus(const QString& text);
    void showNotice(const QString& text);
    bool noticeVisible() const;
    QString noticeText() const { return m_noticeFull; }
    // Hides the notice bar and brings back the status bar.
    void hideNotice();

    // The ageing of one main-timer tick: the notice bar, then panel 3.
    void ageNotice();
    void agePanel();

signals:
    // The whole notice with its explanation, to be shown in a message window.
    void noticeOpened(const QString& fullText);

private:
    QStatusBar* m_status = nullptr;
    QLabel* m_panels[3] = {};
    NoticeBar* m_notice = nullptr;
    QString m_noticeFull;
};

}  // namespace pictra::ui
