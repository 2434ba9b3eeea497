#pragma once

#include "model/securityitem.h"
#include "platform/localtime.h"

#include <array>
#include <string>
#include <vector>

// What the portfolio list shows, worked out without any window: the nine cell texts of
// a row, its icon, the order of the rows and the totals of the status bar.
namespace tarvelo {

inline constexpr int kListColumns = 9;

// 0 no change since the last day, 1 fell, 2 rose; plus 3 when an alarm holds.
int rowIcon(const SecurityItem& item);
bool alarmHolds(const SecurityItem& item);

// The texts of columns 0 to 8 (name, date, value, low, high, the three changes with
// their day counts, amount invested); columns 1 to 8 are empty without quotations.
// Numbers and dates follow the current C locale.
std::array<std::string, kListColumns> rowCells(const SecurityItem& item, bool percent, TimeStamp now);

// A change as the list writes it: "+1.25% (3 Days)", or "+0.5000 (3 Days)" in figures.
std::string changeText(double percent, double nominal, int days, bool percentMode);

// -1, 0 or 1 as the rows of a and b stand in ascending order of the column.
int compareRows(const SecurityItem& a, const SecurityItem& b, int column);
// What a row sorts by in one column, worked out once for many comparisons; it refers to
// the item's name and is valid until the item changes.
struct RowSortKey {
    const std::string* name = nullptr; // column 0
    double number = 0;                 // the other columns
};
RowSortKey rowSortKey(const SecurityItem& item, int column);
int compareRowKeys(const RowSortKey& a, const RowSortKey& b, int column);
// The items in the order of the column, descending when reverse is set; equal items
// keep their portfolio order.
std::vector<const SecurityItem*> sortedRows(std::vector<const SecurityItem*> items, int column, bool reverse);

// "Amount invested: ..." with the gains that can be shown.
std::string totalsText(const std::vector<const SecurityItem*>& items, bool percent);

// The stored list options.
struct ListViewOptions {
    std::array<int, kListColumns> widths = {200, 112, 63, 63, 70, 95, 95, 116, 107};
    int sortColumn = 0;
    bool sortReverse = false;
    bool percent = true;
};
ListViewOptions loadListViewOptions();
void saveListViewOptions(const ListViewOptions& options);

} // namespace tarvelo
