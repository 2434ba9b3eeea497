#pragma once

#include "charts/comparisonchart.h"
#include "platform/localtime.h"

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// The printed report of the list's selection: one item prints its history chart on one
// page; several print the comparison chart on page 1, followed by pages of three-line
// blocks, one per item, under a header with the document's title and the date.
namespace tarvelo {

class SecurityItem;

// Where the item pages put their header and blocks, from the printer's title and block
// fonts and the page height.
struct ReportLayout {
    int headerTop = 0;     // the header line's top: width of "M" in the title font
    int header = 0;        // the first block's top: 2.5 title lines
    int lineHeight = 0;    // height of "M" in the block font
    int markWidth = 0;     // width of "M" in the block font: the unit of the block's indents
    int lineStep = 0;      // from one line of a block to the next: 1.2 lines
    int blockGap = 0;      // from a block's last line to the next block: 1.5 lines
    int blockHeight = 0;   // what a block counts for in the page count: 3.9 lines
    int blocksPerPage = 1; // at least 1, even on a page too small for one block
};
ReportLayout reportLayout(Canvas& canvas, int pageHeight);

// The pages of a report of itemCount items: none for no item, 1 for one item, else the
// chart page and as many block pages as the items need.
int reportPageCount(Canvas& canvas, int pageHeight, std::size_t itemCount);

// The items [first, last) whose blocks go on a page (2 and on); empty for other pages.
struct ReportItemRange {
    std::size_t first = 0;
    std::size_t last = 0;
};
ReportItemRange reportPageItems(int page, int blocksPerPage, std::size_t itemCount);

// The item pages' header: "%s - %s" with the document's title and now "%x %H:%M".
std::string reportHeader(std::string_view documentTitle, TimeStamp now);

// The three text lines of an item's block: name and symbol; the latest quotation with
// the amount invested; low, high and the changes since the previous quotation and in
// total, with their day counts. An item without quotations shows zeros and the date its
// history stands for (23 January 1975 00:00).
std::array<std::string, 3> reportBlockLines(const SecurityItem& item);

// Draws page (1-based) of the report of items on a page of pageWidth x pageHeight
// pixels with the printer's fonts. Page 1 also states when the report was made: now
// "%x %H:%M" in the axis font, right-aligned below the chart. Pages out of range stay
// empty.
void drawReportPage(Canvas& canvas, int pageWidth, int pageHeight, int page,
                    std::span<const SecurityItem* const> items, const ComparisonSettings& settings,
                    std::string_view documentTitle, TimeStamp now);

} // namespace tarvelo
