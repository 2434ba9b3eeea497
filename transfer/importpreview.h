#pragma once

#include "model/securityitem.h"
#include "transfer/import.h"

#include <string>
#include <vector>

// What an import would do to an item, worked out before anything changes: the import
// dialog shows it before OK, and tarvelo-cli import --dry-run prints it.
namespace tarvelo {

// Records after this moment lie in the future. A template without an hour gives every
// record the stand-in time 20:00, so then a record of today is not taken for one of
// tomorrow: the moment is the end of today.
TimeStamp futureAfter(const ImportMatch& match, TimeStamp now);

// The records of a match that lie in the future, and the latest of them.
struct FutureRecords {
    std::size_t count = 0;
    TimeStamp latest = 0;
};
FutureRecords futureRecords(const ImportMatch& match, TimeStamp now);

// "1 quotation lies in the future (the latest 08/30/31 20:00)".
std::string futureWarning(const FutureRecords& future);

// A value is far from the item's latest value L when it is more than 100% away from it
// either way on the scale of ratios: above 2 x L or below L / 2 (a doubling or a
// halving). Items without a history have no latest value and nothing is far.
bool isFarFrom(double value, double latest);

// The preview of importing a match into an item. Everything but the shown rows covers
// all records of the file.
struct ImportPreview {
    static constexpr std::size_t kShownRecords = 20;

    // One of the first records of the file, in file order, as it will be stored.
    struct Row {
        Quotation record;
        bool held = false;   // the history (or an earlier line) holds it: it is not added
        bool future = false; // it lies in the future
        bool far = false;    // it is far from the latest value
    };
    std::vector<Row> rows;

    std::size_t records = 0;    // quotations the file gives
    std::size_t newRecords = 0; // of those, the ones the import adds
    std::size_t skipped = 0;    // lines that matched but gave no quotation
    bool stopped = false;       // the matching ended before the end of the file

    TimeStamp first = 0; // the range of the records' times, when there are records
    TimeStamp last = 0;

    FutureRecords future;
    bool hasLatest = false; // the item has a history
    double latestValue = 0.0;
    std::size_t far = 0;    // records far from the latest value
    double farLowest = 0.0; // the lowest and highest of them
    double farHighest = 0.0;

    // "12 lines matched: 10 quotations to import, 1 already in the history, 1 lines
    // skipped (line 7: day 32 does not exist)"; the reasons are the report's.
    std::string counts;
    // "Dates from 01/05/26 20:00 to 01/07/26 20:00"; empty without records.
    std::string range;
    // One sentence each: records in the future, records far from the latest value.
    std::vector<std::string> warnings;
    // When the file gives no quotation: the words the import would fail with.
    std::string failure;

    bool importsNothing() const { return records == 0; }
};

// The preview of importing what the matching found into the item (a copy may stand in
// for the document's, so this may run on a thread of its own). now decides what lies in
// the future.
ImportPreview previewImport(const SecurityItem& item, const ImportMatch& match, TimeStamp now);

// A record's date and time and its value, as the program shows quotations.
std::string previewTime(TimeStamp time);
std::string previewValue(double value);

// The preview as lines of text: the counts (or the failure), the range, each warning
// after "Warning: ", then one line per shown record, its time and value separated by a
// tab, with "\t(already in the history)" after a record that is not added.
std::vector<std::string> previewLines(const ImportPreview& preview);

} // namespace tarvelo
