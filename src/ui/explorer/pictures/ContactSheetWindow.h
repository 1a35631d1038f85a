#pragma once

#include <QImage>
#include <QScrollArea>
#include <functional>
#include <string>
#include <vector>

#include "pictures/batch/ContactSheet.h"

namespace pictra {
class Tones;
}

namespace pictra::ui {

// A contact sheet of JPEG thumbnails, one screen wide; a click on a thumbnail opens
// its picture, the Down key asks for the next sheet.
class ContactSheetWindow : public QScrollArea {
    Q_OBJECT
public:
    ContactSheetWindow(std::function<void(const std::string&)> open, std::function<void()> next, QWidget* parent);
    void showSheet(const QImage& sheet, std::vector<pictures::batch::SheetThumb> thumbs, int cell);
    // After a sheet: a full one says how to get the next (a note beside the sheet, not
    // waiting for an answer), the last one sounds the end tone.
    void tellEnd(pictures::batch::SheetEnd end, Tones& tones);
    // The picture under a point of the sheet; empty when none.
    std::string thumbAt(QPoint at) const;
    const QImage& sheet() const { return m_sheet; }

private:
    QImage m_sheet;
    std::vector<pictures::batch::SheetThumb> m_thumbs;
    int m_cell = 0;
    std::function<void(const std::string&)> m_open;
    std::function<void()> m_next;
};

// Draws decoded thumbnails onto a QImage.
class SheetImagePainter : public pictures::batch::SheetPainter {
public:
    void begin(int width, int height) override;
    bool draw(const std::string& path, int x, int y, int cell) override;
    QImage image;
};

}  // namespace pictra::ui
