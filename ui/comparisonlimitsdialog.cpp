#include "ui/comparisonlimitsdialog.h"

#include "resources/Strings.h"
#include "ui/qtexts.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tarvelo {

namespace {

// The limits become time stamps of 32-bit seconds since 1970: the pickers keep to the
// days those can hold, whole (local time on either side of UTC included).
const QDate kFirstDay(1970, 1, 2);
const QDate kLastDay(2038, 1, 18);

QDate storedDate(int year, int month, int day, const QDate& fallback)
{
    const QDate date(year, month, day);
    return date.isValid() ? std::clamp(date, kFirstDay, kLastDay) : fallback;
}

QDateEdit* datePicker(const QString& name, const QDate& date, QWidget* parent)
{
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(name);
    picker->setDateRange(kFirstDay, kLastDay);
    picker->setCalendarPopup(true);
    picker->setDate(date);
    return picker;
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

    auto* period = new QGroupBox(QStringLiteral("Period to show"), this);
    period->setObjectName(QStringLiteral("periodGroup"));
    m_afterCheck = checkBox(QStringLiteral("afterCheck"), QStringLiteral("After"), settings.beginLimitOn, period);
    m_afterDate = datePicker(QStringLiteral("afterDate"),
                             storedDate(settings.beginYear, settings.beginMonth, settings.beginDay,
                                        QDate(defaults.beginYear, defaults.beginMonth, defaults.beginDay)),
                             period);
    m_beforeCheck = checkBox(QStringLiteral("beforeCheck"), QStringLiteral("Before"), settings.endLimitOn, period);
    m_beforeDate = datePicker(QStringLiteral("beforeDate"),
                              storedDate(settings.endYear, settings.endMonth, settings.endDay,
                                         QDate(defaults.endYear, defaults.endMonth, defaults.endDay)),
                              period);
    auto* periodGrid = new QGridLayout(period);
    periodGrid->addWidget(m_afterCheck, 0, 0);
    periodGrid->addWidget(m_afterDate, 0, 1);
    periodGrid->addWidget(m_beforeCheck, 1, 0);
    periodGrid->addWidget(m_beforeDate, 1, 1);
    periodGrid->setColumnStretch(2, 1);

    m_gridCheck = checkBox(QStringLiteral("gridCheck"), QStringLiteral("Grid"), settings.grid, this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(period);
    layout->addWidget(m_gridCheck);
    layout->addStretch(1);
    layout->addWidget(buttons);

    connect(m_afterCheck, &QCheckBox::toggled, this, &ComparisonLimitsDialog::enablePickers);
    connect(m_beforeCheck, &QCheckBox::toggled, this, &ComparisonLimitsDialog::enablePickers);
    enablePickers();
}

void ComparisonLimitsDialog::enablePickers()
{
    m_afterDate->setEnabled(m_afterCheck->isChecked());
    m_beforeDate->setEnabled(m_beforeCheck->isChecked());
}

ComparisonSettings ComparisonLimitsDialog::settings() const
{
    ComparisonSettings result = m_settings;
    result.beginLimitOn = m_afterCheck->isChecked();
    const QDate begin = m_afterDate->date();
    result.beginYear = begin.year();
    result.beginMonth = begin.month();
    result.beginDay = begin.day();
    result.endLimitOn = m_beforeCheck->isChecked();
    const QDate end = m_beforeDate->date();
    result.endYear = end.year();
    result.endMonth = end.month();
    result.endDay = end.day();
    result.grid = m_gridCheck->isChecked();
    return result;
}

} // namespace tarvelo
