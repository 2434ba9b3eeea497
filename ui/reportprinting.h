#pragma once

#include "charts/comparisonchart.h"
#include "platform/localtime.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPrinter;
class QWidget;

namespace tarvelo {

class SecurityItem;

// Printing, print preview and page setup of the report on the marked items. The printer
// and its page setup are kept while the program runs, as a print dialog remembers them.
class ReportPrinting : public QObject {
    Q_OBJECT
public:
    // What to print at the moment a command runs.
    struct Source {
        std::vector<const SecurityItem*> items; // the marked items in list order
        ComparisonSettings comparison;
        std::string documentTitle;
        TimeStamp made = 0;
    };
    using SourceFunction = std::function<Source()>;

    explicit ReportPrinting(SourceFunction source, QObject* parent = nullptr);
    ~ReportPrinting() override;

    // The print dialog (with printing to a PDF file), then the pages it asks for.
    void print(QWidget* parent);
    // The report in a preview window, from which it can be printed too.
    void preview(QWidget* parent);
    void pageSetup(QWidget* parent);

    QPrinter& printer() { return *m_printer; }
    // Paints the report on the printer as it is set up (all pages, or the range it names).
    void paint(QPrinter& printer);

private:
    SourceFunction m_source;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace tarvelo
