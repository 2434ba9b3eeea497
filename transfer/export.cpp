#include "platform/translation.h"
#include "transfer/export.h"

#include "platform/codepage.h"
#include "platform/localtime.h"
#include "platform/outputfile.h"
#include "transfer/spreadsheetwriter.h"

#include <algorithm>
#include <cstdio>

namespace tarvelo {

namespace {

std::string lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return s;
}

} // namespace

std::string quotationsText(const std::vector<const SecurityItem*>& items)
{
    std::string out;
    char value[64];
    for (const SecurityItem* item : items) {
        out += "\"" + item->settings().name + "\" (" + item->settings().symbol + ")\r\n";
        for (const Quotation& record : item->history()) {
            out += formatLocalTime(record.time, "%x %H:%M; ");
            std::snprintf(value, sizeof value, "%3.4f; ", record.value);
            out += value;
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

std::string quotationsSheet(const std::vector<const SecurityItem*>& items)
{
    SpreadsheetWriter sheet;
    for (std::size_t k = 0; k < items.size(); ++k) {
        const SecurityItem& item = *items[k];
        const std::size_t column = 1 + 4 * k;
        auto& title = sheet.cell(1, column);
        title.setText(utf8ToCp1252(item.settings().name + " (" + item.settings().symbol + ")"));
        title.setFont(1);
        std::size_t row = 2;
        for (const Quotation& record : item.history()) {
            sheet.cell(row, column).setText(formatLocalTime(record.time, "%x %H:%M"));
            sheet.cell(row, column + 1).setNumber(record.value);
            ++row;
        }
    }
    return sheet.write();
}

std::string sheetRefusal(const std::vector<const SecurityItem*>& items)
{
    for (const SecurityItem* item : items) {
        const std::string title = item->settings().name + item->settings().symbol;
        if (!fitsCp1252(title))
            return fill(translate("Import", "The spreadsheet file cannot hold the characters %1 of \"%2\"; please export "
                                            "to a text file instead."),
                        {charactersBeyondCp1252(title), item->settings().name});
    }
    return {};
}

Result<void> exportQuotations(const std::vector<const SecurityItem*>& items, const std::string& path)
{
    const bool sheet = lower(path).find(".xls") != std::string::npos;
    if (sheet) {
        if (std::string refusal = sheetRefusal(items); !refusal.empty())
            return Failure{std::move(refusal)};
    }
    OutputFile file;
    if (const FileError error = file.open(path); error != FileError::None)
        return Failure{fill(translate("File", "File could not be saved (%1)"),
                            {std::to_string(sheet ? -1 : fileErrorCause(error))})};
    const std::string bytes = sheet ? quotationsSheet(items) : quotationsText(items);
    file.write(bytes.data(), bytes.size());
    if (const FileError error = file.close(); error != FileError::None)
        return Failure{fill(translate("File", "File could not be saved (%1)"), {std::to_string(fileErrorCause(error))})};
    return Success{};
}

} // namespace tarvelo
