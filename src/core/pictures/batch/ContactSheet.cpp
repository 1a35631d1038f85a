#include "pictures/batch/ContactSheet.h"

#include <algorithm>

#include "common/Text.h"

namespace pictra::pictures::batch {

SheetLayout sheetLayout(bool fortyEight, int screenWidth, int screenHeight) {
    SheetLayout layout;
    layout.columns = fortyEight ? 8 : 4;
    const int width = std::max(screenWidth, 1);
    // round(c × h / w) in whole numbers, halves away from zero
    layout.rows = std::max(1, (2 * layout.columns * std::max(screenHeight, 0) + width) / (2 * width));
    layout.cell = std::max(1, width / layout.columns);
    layout.maximum = static_cast<std::size_t>(layout.columns) * static_cast<std::size_t>(layout.rows);
    return layout;
}

int sheetHeight(const SheetLayout& layout, std::size_t count) {
    const long long c = layout.columns;
    const long long n = static_cast<long long>(std::max<std::size_t>(count, 1));
    return static_cast<int>((c + n - 1) * layout.cell / c);
}

int decodeDenominator(int width, int cell) {
    if (width / 4 >= cell / 2)
        return 4;
    if (width / 2 >= cell / 2)
        return 2;
    return 1;
}

Size thumbSize(int width, int height, int cell) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    const long long p = cell;
    if (width >= height)
        return {cell, static_cast<int>(std::max<long long>(1, p * height / width))};
    return {static_cast<int>(std::max<long long>(1, p * width / height)), cell};
}

bool isSheetPicture(const std::string& line) {
    return text::toLowerAscii(line).find(".jp") != std::string::npos;
}

std::size_t sheetStart(const std::vector<bool>& selected, int currentRow, std::size_t stored) {
    for (std::size_t i = static_cast<std::size_t>(std::max(currentRow, 0)); i < selected.size(); ++i) {
        if (selected[i])
            return i;
    }
    return stored;
}

Sheet drawSheet(const std::vector<std::string>& lines, std::size_t& start, const SheetLayout& layout, int screenWidth,
                SheetPainter& painter, Dialogs& dialogs) {
    Sheet sheet;
    if (std::none_of(lines.begin(), lines.end(), isSheetPicture)) {
        dialogs.inform(kNoSheetPictures);
        return sheet;
    }
    if (start >= lines.size() || std::none_of(lines.begin() + static_cast<std::ptrdiff_t>(start), lines.end(),
                                              isSheetPicture)) {
        start = 0;
    }
    const auto left = static_cast<std::size_t>(
        std::count_if(lines.begin() + static_cast<std::ptrdiff_t>(start), lines.end(), isSheetPicture));
    painter.begin(screenWidth, sheetHeight(layout, std::min(left, layout.maximum)));
    int x = 0;
    int y = 0;
    std::size_t i = start;
    for (; i < lines.size() && sheet.drawn < layout.maximum; ++i) {
        if (!isSheetPicture(lines[i]))
            continue;
        start = i + 1;
        if (!painter.draw(lines[i], x, y, layout.cell))
            continue;
        if (sheet.thumbs.size() < 48)
            sheet.thumbs.push_back({x, y, lines[i]});
        ++sheet.drawn;
        x += layout.cell;
        if (x >= screenWidth - layout.cell / 2) {
            x = 0;
            y += layout.cell;
        }
    }
    const bool more = std::any_of(lines.begin() + static_cast<std::ptrdiff_t>(i), lines.end(), isSheetPicture);
    if (sheet.drawn >= layout.maximum && more) {
        sheet.end = SheetEnd::Full;
    } else {
        sheet.end = SheetEnd::ListEnd;
        start = 0;
    }
    return sheet;
}

}  // namespace pictra::pictures::batch
