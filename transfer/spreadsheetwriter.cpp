#include "transfer/spreadsheetwriter.h"

#include <cstring>

namespace tarvelo {

namespace {

void put16(std::string& out, std::uint16_t v)
{
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void record(std::string& out, std::uint16_t type, const std::string& data)
{
    put16(out, type);
    put16(out, static_cast<std::uint16_t>(data.size()));
    out += data;
}

std::string cellHeader(std::size_t row, std::size_t column, const std::uint8_t (&attributes)[3])
{
    std::string data;
    put16(data, static_cast<std::uint16_t>(row));
    put16(data, static_cast<std::uint16_t>(column));
    data.append(reinterpret_cast<const char*>(attributes), 3);
    return data;
}

} // namespace

void SpreadsheetWriter::SheetCell::setText(std::string value)
{
    kind = kText;
    text = std::move(value);
}

void SpreadsheetWriter::SheetCell::setNumber(double value)
{
    kind = kNumber;
    number = value;
}

void SpreadsheetWriter::SheetCell::setFont(int index)
{
    attributes[1] = static_cast<std::uint8_t>((attributes[1] & 0x3F) | ((index & 3) << 6));
}

SpreadsheetWriter::SheetCell& SpreadsheetWriter::cell(std::size_t row, std::size_t column)
{
    if (m_rows.size() <= row)
        m_rows.resize(row + 1);
    auto& cells = m_rows[row];
    if (cells.size() <= column)
        cells.resize(column + 1);
    return cells[column];
}

std::string SpreadsheetWriter::write() const
{
    std::string out;
    std::string bof;
    put16(bof, 0x0002);
    put16(bof, 0x0010);
    record(out, 0x0009, bof);
    for (const std::uint16_t options : {0x0000, 0x0001, 0x0002, 0x0004}) {
        std::string font;
        put16(font, 200);
        put16(font, options);
        font.push_back(5);
        font += "Arial";
        record(out, 0x0031, font);
    }
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        for (std::size_t c = 0; c < m_rows[r].size(); ++c) {
            const SheetCell& cell = m_rows[r][c];
            if (cell.kind != kNumber)
                continue;
            std::string data = cellHeader(r, c, cell.attributes);
            char bytes[8];
            std::memcpy(bytes, &cell.number, 8);
            data.append(bytes, 8);
            record(out, 0x0003, data);
        }
    }
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        for (std::size_t c = 0; c < m_rows[r].size(); ++c) {
            const SheetCell& cell = m_rows[r][c];
            if (cell.kind != kText)
                continue;
            std::string data = cellHeader(r, c, cell.attributes);
            const std::string text = cell.text.substr(0, 255);
            data.push_back(static_cast<char>(text.size()));
            data += text;
            record(out, 0x0004, data);
        }
    }
    record(out, 0x000A, {});
    return out;
}

} // namespace tarvelo
