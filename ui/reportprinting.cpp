#include "ui/reportprinting.h"

#include "render/reportpainter.h"
#include "ui/prompter.h"

#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace tarvelo {

ReportPrinting::ReportPrinting(SourceFunction source, QObject* parent)
    : QObject(parent), m_source(std::move(source)), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
}

ReportPrinting::~ReportPrinting() = default;

void ReportPrinting::paint(QPrinter& printer)
{
    const Source source = m_source();
    if (source.items.empty())
        return;
    ReportSubject subject{source.items, source.comparison, source.documentTitle, source.made};
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const bool range = printer.printRange() == QPrinter::PageRange;
    paintReport(painter, printer, subject, range ? printer.fromPage() : 1, range ? printer.toPage() : -1);
    painter.end();
}

void ReportPrinting::print(QWidget* parent)
{
    QPrintDialog dialog(m_printer.get(), parent);
    dialog.setObjectName(QStringLiteral("printDialog"));
    if (Prompter::instance().exec(dialog) == QDialog::Accepted)
        paint(*m_printer);
}

void ReportPrinting::preview(QWidget* parent)
{
    QPrintPreviewDialog dialog(m_printer.get(), parent);
    dialog.setObjectName(QStringLiteral("printPreviewDialog"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) { paint(*printer); });
    Prompter::instance().exec(dialog);
}

void ReportPrinting::pageSetup(QWidget* parent)
{
    QPageSetupDialog dialog(m_printer.get(), parent);
    dialog.setObjectName(QStringLiteral("pageSetupDialog"));
    Prompter::instance().exec(dialog);
}

} // namespace tarvelo
