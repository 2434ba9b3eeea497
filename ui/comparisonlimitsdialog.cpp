#include "ui/comparisonlimitsdialog.h"

#include "resources/strings.h"
#include "ui/periodbox.h"
#include "ui/qtexts.h"
#include "ui/shell.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvelo {

namespace {

QDate storedDate(int year, int month, int day, const QDate& fallback)
{
    const QDate date(year, month, day);
    return date.isValid() ? date : fallback;
}

QCheckBox* checkBox(const QString& name, const QString& label, bool checked, QWidget* parent)
{
    auto* box = new QCheckBox(label, parent);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

} // namespace

ComparisonLimitsDialog::ComparisonLimitsDialog(const ComparisonSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("comparisonLimitsDialog"));
    setWindowTitle(text(strings::kComparisonLimitsTitle));
    const ComparisonSettings defaults;

    m_period = new PeriodBox(
        {QStringLiteral("afterCheck"), tr("After"), QStringLiteral("afterDate"), settings.beginLimitOn,
         storedDate(settings.beginYear, settings.beginMonth, settings.beginDay,
                    QDate(defaults.beginYear, defaults.beginMonth, defaults.beginDay))},
        {QStringLiteral("beforeCheck"), tr("Before"), QStringLiteral("beforeDate"), settings.endLimitOn,
         storedDate(settings.endYear, settings.endMonth, settings.endDay,
                    QDate(defaults.endYear, defaults.endMonth, defaults.endDay))},
        this);

    m_gridCheck = checkBox(QStringLiteral("gridCheck"), tr("Grid"), settings.grid, this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->addButton(QDialogButtonBox::Help)->setObjectName(QStringLiteral("helpButton"));
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [] { openHelpPage(strings::kDialogHelpPage, "comparison-limits"); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_period);
    layout->addWidget(m_gridCheck);
    layout->addStretch(1);
    layout->addWidget(buttons);
}

ComparisonSettings ComparisonLimitsDialog::settings() const
{
    ComparisonSettings result = m_settings;
    result.beginLimitOn = m_period->isOn(0);
    const QDate begin = m_period->date(0);
    result.beginYear = begin.year();
    result.beginMonth = begin.month();
    result.beginDay = begin.day();
    result.endLimitOn = m_period->isOn(1);
    const QDate end = m_period->date(1);
    result.endYear = end.year();
    result.endMonth = end.month();
    result.endDay = end.day();
    result.grid = m_gridCheck->isChecked();
    return result;
}

} // namespace tarvelo
