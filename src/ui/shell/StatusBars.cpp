#include "StatusBars.h"

#include <QMainWindow>
#include <QStatusBar>

#include "common/UiText.h"
#include "shell/StatusTexts.h"

namespace pictra::ui {

namespace {
// Colour value 16776960: aqua.
const QColor kAqua(0, 255, 255);
}  // namespace

NoticeBar::NoticeBar(QWidget* parent) : QLabel(parent) {
    setObjectName("StatusBar2");
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(18);
    setFont(f);
    setAutoFillBackground(true);
    setFrameShape(QFrame::Panel);
    setCursor(Qt::PointingHandCursor);
    hide();
}

void NoticeBar::mousePressEvent(QMouseEvent* event) {
    QLabel::mousePressEvent(event);
    emit clicked();
}

StatusBars::StatusBars(QMainWindow* window) : QObject(window) {
    m_status = new QStatusBar(window);
    m_status->setObjectName("StatusBar1");
    m_status->setSizeGripEnabled(false);
    const int widths[3] = {150, 60, 0};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(m_status);
        m_panels[i]->setObjectName(QString("Panel%1").arg(i + 1));
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        m_panels[i]->setAutoFillBackground(true);
        if (widths[i] > 0) m_panels[i]->setMinimumWidth(widths[i]);
        m_status->addWidget(m_panels[i], widths[i] > 0 ? 0 : 1);
    }
    window->setStatusBar(m_status);
    m_notice = new NoticeBar(window);
    connect(m_notice, &NoticeBar::clicked, this, [this] {
        hideNotice();
        emit noticeOpened(message(status::noticeExplanation(u(m_noticeFull))));
    });
}

void StatusBars::setDateTime(const QString& text) { m_panels[0]->setText(text); }

void StatusBars::setCaret(int line, int column) { m_panels[1]->setText(QString("%1 %2").arg(line).arg(column)); }

QString StatusBars::panelText(int panel) const { return m_panels[panel - 1]->text(); }

void StatusBars::showStatus(const QString& text) {
    m_panels[2]->setText(text);
    QPalette pal = m_status->palette();
    if (!text.isEmpty()) pal.setColor(QPalette::Window, kAqua);
    m_panels[2]->setPalette(pal);
}

void StatusBars::showNotice(const QString& text) {
    m_noticeFull = text;
    m_notice->setText(q(status::noticeBarText(u(text))));
    m_status->hide();
    m_notice->show();
}

bool StatusBars::noticeVisible() const { return !m_notice->isHidden(); }

void StatusBars::hideNotice() {
    m_notice->hide();
    m_status->show();
}

void StatusBars::ageNotice() {
    if (!noticeVisible()) return;
    const auto aged = status::ageNotice(u(m_notice->text()));
    if (aged.hide) {
        hideNotice();
    } else {
        m_notice->setText(q(aged.text));
    }
}

void StatusBars::agePanel() {
    const QString aged = q(status::agePanelText(u(m_panels[2]->text())));
    if (aged != m_panels[2]->text()) showStatus(aged);
}

}  // namespace pictra::ui
