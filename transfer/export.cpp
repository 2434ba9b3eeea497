#include "transfer/export.h"

#include "platform/files.h"
#include "platform/localtime.h"
#include "transfer/spreadsheetwriter.h"

#include <algorithm>
#include <cstdio>

namespace tarvelo {

namespace {

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return s;
}

} // namespace

std::string QuotationsText(const std::vector<const SecurityItem*>& items)
{
    std::string out;
    char value[64];
    for (const SecurityItem* item : items) {
        out += "\"" + item->settings().name + "\" (" + item->settings().symbol + ")\r\n";
        for (const Quotation& record : item->history()) {
            out += FormatLocalTime(record.time, "%x %H:%M; ");
            std::snprintf(value, sizeof value, "%3.4f; ", record.value);
            out += value;
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

std::string QuotationsSheet(const std::vector<const SecurityItem*>& items)
{
    SpreadsheetWriter sheet;
    for (std::size_t k = 0; k < items.size(); ++k) {
        const SecurityItem& item = *items[k];
        const std::size_t column = 1 + 4 * k;
        auto& title = sheet.Cell(1, column);
        title.SetText(item.settings().name + " (" + item.settings().symbol + ")");
        title.SetFont(1);
        std::size_t row = 2;
        for (const Quotation& record : item.history()) {
            sheet.Cell(row, column).SetText(FormatLocalTime(record.time, "%x %H:%M"));
            sheet.Cell(row, column + 1).SetNumber(record.value);
            ++row;
        }
    }
    return sheet.Write();
}

ExportResult ExportQuotations(const std::vector<const SecurityItem*>& items, const std::string& path)
{
    const bool sheet = Lower(path).find(".xls") != std::string::npos;
    OutputFile file;
    if (const FileError error = file.open(path); error != FileError::None)
        return {false, "File could not be saved (" + std::to_string(sheet ? -1 : FileErrorCause(error)) + ")"};
    const std::string bytes = sheet ? QuotationsSheet(items) : QuotationsText(items);
    file.write(bytes.data(), bytes.size());
    if (const FileError error = file.close(); error != FileError::None)
        return {false, "File could not be saved (" + std::to_string(FileErrorCause(error)) + ")"};
    return {};
}

} // namespace tarvelo
