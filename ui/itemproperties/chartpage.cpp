#include "ui/itemproperties/chartpage.h"

#include "platform/localtime.h"
#include "render/qtcanvas.h"
#include "ui/periodbox.h"
#include "ui/prompter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tarvelo {

namespace {

QDate localDate(TimeStamp time)
{
    const std::tm local = breakLocalTime(time);
    return QDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

// The picker only changes the day: a period bound keeps its time of day, and all of it
// while the picker still shows the day it opened with.
TimeStamp withDate(TimeStamp time, const QDate& shown, const QDate& date)
{
    if (date == shown)
        return time;
    const std::tm local = breakLocalTime(time);
    return makeLocalTime(date.year(), date.month(), date.day(), local.tm_hour, local.tm_min, local.tm_sec);
}

QRadioButton* radio(const QString& name, const QString& text, QButtonGroup* group, int id, QWidget* parent)
{
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(name);
    group->addButton(button, id);
    return button;
}

} // namespace

ColourSwatch::ColourSwatch(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void ColourSwatch::setColour(const QColor& colour)
{
    m_colour = colour;
    update();
}

QSize ColourSwatch::sizeHint() const
{
    return {40, 22};
}

void ColourSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect all = rect();
    painter.fillRect(all, Qt::black);
    painter.fillRect(all.adjusted(1, 1, -1, -1), QColor(130, 130, 130));
    painter.fillRect(all.adjusted(3, 3, -3, -3), m_colour);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(all.adjusted(1, 1, -2, -2));
    }
}

ChartPage::ChartPage(const ChartOptions& options, QWidget* parent) : QWidget(parent), m_options(options)
{
    setObjectName(QStringLiteral("chartPage"));
    setWindowTitle(tr("Graphic"));
    m_options.pageFlag = true;

    m_period = new PeriodBox({QStringLiteral("afterCheck"), tr("After"), QStringLiteral("afterDate"),
                              options.periodStartEnabled.isSet(), localDate(options.periodStart)},
                             {QStringLiteral("untilCheck"), tr("Until"), QStringLiteral("untilDate"),
                              options.periodEndEnabled.isSet(), localDate(options.periodEnd)},
                             this);
    m_shownDates = {m_period->date(0), m_period->date(1)};

    auto* axes = new QGroupBox(tr("Value on the Axes"), this);
    axes->setObjectName(QStringLiteral("axesGroup"));
    auto* axesButtons = new QButtonGroup(this);
    m_axesPercentual = radio(QStringLiteral("axesPercentualRadio"), tr("Percentual"), axesButtons,
                             storedNumber(ValueOnAxes::Percentual), axes);
    m_axesNominal = radio(QStringLiteral("axesNominalRadio"), tr("Nominal"), axesButtons,
                          storedNumber(ValueOnAxes::Nominal), axes);
    auto* axesColumn = new QVBoxLayout(axes);
    axesColumn->addWidget(m_axesPercentual);
    axesColumn->addWidget(m_axesNominal);
    axesColumn->addStretch();

    auto* graphic = new QGroupBox(tr("Value on the graphic"), this);
    graphic->setObjectName(QStringLiteral("graphicGroup"));
    auto* graphicButtons = new QButtonGroup(this);
    m_graphicNone = radio(QStringLiteral("graphicNoneRadio"), tr("None"), graphicButtons,
                          storedNumber(ValueOnGraphic::None), graphic);
    m_graphicPercentual =
        radio(QStringLiteral("graphicPercentualRadio"), tr("Percentual"), graphicButtons,
              storedNumber(ValueOnGraphic::Percentual), graphic);
    m_graphicNominal = radio(QStringLiteral("graphicNominalRadio"), tr("Nominal"), graphicButtons,
                             storedNumber(ValueOnGraphic::Nominal), graphic);
    auto* graphicColumn = new QVBoxLayout(graphic);
    graphicColumn->addWidget(m_graphicNone);
    graphicColumn->addWidget(m_graphicPercentual);
    graphicColumn->addWidget(m_graphicNominal);

    auto* colourButton = new QPushButton(tr("Color:"), this);
    colourButton->setObjectName(QStringLiteral("colourButton"));
    m_swatch = new ColourSwatch(this);
    m_swatch->setObjectName(QStringLiteral("colourSwatch"));
    m_swatch->setColour(colourOf(options.lineColour));
    m_gridCheck = new QCheckBox(tr("Show grid"), this);
    m_gridCheck->setObjectName(QStringLiteral("gridCheck"));

    auto* values = new QHBoxLayout;
    values->addWidget(axes);
    values->addWidget(graphic);
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(colourButton);
    colourRow->addWidget(m_swatch);
    colourRow->addStretch();
    auto* page = new QVBoxLayout(this);
    page->addWidget(m_period);
    page->addLayout(values);
    page->addLayout(colourRow);
    page->addWidget(m_gridCheck);
    page->addStretch();

    (options.valueOnAxes == ValueOnAxes::Nominal ? m_axesNominal : m_axesPercentual)->setChecked(true);
    QAbstractButton* shown = graphicButtons->button(storedNumber(options.valueOnGraphic));
    (shown ? shown : m_graphicNone)->setChecked(true);
    m_gridCheck->setChecked(options.showGrid.isSet());

    connect(colourButton, &QPushButton::clicked, this, &ChartPage::chooseColour);
    connect(m_swatch, &ColourSwatch::clicked, this, &ChartPage::chooseColour);
}

void ChartPage::chooseColour()
{
    const QColor current = m_swatch->colour();
    QColorDialog::setCustomColor(0, current);
    for (int i = 1; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, Qt::white);
    QColorDialog dialog(current, this);
    dialog.setObjectName(QStringLiteral("colourDialog"));
    if (Prompter::instance().exec(dialog) != QDialog::Accepted)
        return;
    m_swatch->setColour(dialog.currentColor());
}

ChartOptions ChartPage::takeValues() const
{
    ChartOptions options = m_options;
    options.periodStartEnabled = m_period->isOn(0);
    options.periodStart = withDate(m_options.periodStart, m_shownDates[0], m_period->date(0));
    options.periodEndEnabled = m_period->isOn(1);
    options.periodEnd = withDate(m_options.periodEnd, m_shownDates[1], m_period->date(1));
    options.valueOnAxes = m_axesNominal->isChecked() ? ValueOnAxes::Nominal : ValueOnAxes::Percentual;
    options.valueOnGraphic = m_graphicNominal->isChecked()       ? ValueOnGraphic::Nominal
                             : m_graphicPercentual->isChecked() ? ValueOnGraphic::Percentual
                                                                : ValueOnGraphic::None;
    options.showGrid = m_gridCheck->isChecked();
    options.lineColour = colourRef(m_swatch->colour());
    return options;
}

} // namespace tarvelo
