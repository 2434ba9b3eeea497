#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarvelo {

// A small writer of BIFF2 worksheets: a grid of empty, number and text cells that
// grows on demand, written as BOF, four FONT records, the NUMBER records row by row,
// the LABEL records row by row, and EOF.
class SpreadsheetWriter {
public:
    enum Kind { kEmpty = 0, kNumber = 1, kText = 2 };

    struct SheetCell {
        std::uint8_t attributes[3] = {0, 0, 0};
        Kind kind = kEmpty;
        double number = 0.0;
        std::string text;

        void setText(std::string value);
        void setNumber(double value);
        // Font 0 to 3 (normal, bold, italic, underlined) in bits 6 and 7 of the second
        // attribute byte.
        void setFont(int index);
    };

    SheetCell& cell(std::size_t row, std::size_t column);
    // The whole workbook. A text longer than 255 bytes is cut to 255, as much as the
    // LABEL record's length byte can hold.
    std::string write() const;

private:
    std::vector<std::vector<SheetCell>> m_rows;
};

} // namespace tarvelo
