#pragma once

#include "platform/profilesetting.h"

// Every value that the programs keep in the profile besides the general options (see
// generaloptions.h) and the server configurations (see servers/serverstore.h): where it
// is stored and its default. The stored names are the file's and stay as they are.
namespace tarvelo::settings {

// The portfolio list: column widths, sort column and order, changes in percent.
inline constexpr TextSetting kListColumnWidths{"Columns", "ListView", "200,112,63,63,70,95,95,116,107,0"};
inline constexpr IntSetting kListSortColumn{"SortColumn", "ListView", 0};
inline constexpr FlagSetting kListSortReverse{"SortReverse", "ListView", false};
inline constexpr FlagSetting kListInPercent{"ProcentualValue", "ListView", true};

// The main window: its normal rectangle ("left,top,right,bottom") and the list's height
// above the chart.
inline constexpr TextSetting kWindowPlacement{"Dimensions", "MainWindow", ""};
inline constexpr IntSetting kListHeight{"Dimensions", "ListView", 150};

// The connection status window's column widths.
inline constexpr TextSetting kConnectionColumnWidths{"Columns", "ConnectionDialog", "84,134,148"};

// The recently used portfolios, most recent first, as UTF-8 paths.
inline constexpr NumberedSetting kRecentFiles{"Recent File List", "File", 8};

// The address templates offered by the import dialog.
inline constexpr NumberedSetting kImportTemplates{"ServerImport", "URL", 5};

// What an item was last imported with, by the item's name: the line template, the
// number format (0 to 3, as the lists number them) and case insensitivity (0 or 1).
inline constexpr ValuesByName kItemImportTemplates{"ImportTemplate"};
inline constexpr ValuesByName kItemImportNumberFormats{"ImportNumberFormat"};
inline constexpr ValuesByName kItemImportCaseInsensitive{"ImportCaseInsensitive"};

// The comparison chart: limits of its period (year, month, day) and its grid.
inline constexpr FlagSetting kComparisonBeginOn{"GraphView", "Beginb", false};
inline constexpr IntSetting kComparisonBeginYear{"GraphView", "BeginYear", 1999};
inline constexpr IntSetting kComparisonBeginMonth{"GraphView", "BeginMonth", 1};
inline constexpr IntSetting kComparisonBeginDay{"GraphView", "BeginDay", 1};
inline constexpr FlagSetting kComparisonEndOn{"GraphView", "Endb", false};
inline constexpr IntSetting kComparisonEndYear{"GraphView", "EndYear", 2005};
inline constexpr IntSetting kComparisonEndMonth{"GraphView", "EndMonth", 1};
inline constexpr IntSetting kComparisonEndDay{"GraphView", "EndDay", 1};
inline constexpr FlagSetting kComparisonGrid{"GraphView", "bGrid", true};
inline constexpr FlagSetting kComparisonLegend{"GraphView", "bLegend", true};

} // namespace tarvelo::settings
