#pragma once

#include <QLayout>
#include <QList>

namespace pictra::ui {

// Lays its widgets out in a row and wraps to further rows when the width ends,
// so that a bar of many controls fits any window.
class FlowLayout : public QLayout {
public:
    explicit FlowLayout(QWidget* parent, int spacing = 4) : QLayout(parent), m_spacing(spacing) {}
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override { m_items.append(item); }
    int count() const override { return static_cast<int>(m_items.size()); }
    QLayoutItem* itemAt(int index) const override { return m_items.value(index); }
    QLayoutItem* takeAt(int index) override {
        return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
    }
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return arrange(QRect(0, 0, width, 0), false); }
    void setGeometry(const QRect& rect) override {
        QLayout::setGeometry(rect);
        arrange(rect, true);
    }
    QSize sizeHint() const override { return minimumSize(); }
    QSize minimumSize() const override;

private:
    int arrange(const QRect& rect, bool place) const;

    QList<QLayoutItem*> m_items;
    int m_spacing;
};

}  // namespace pictra::ui
