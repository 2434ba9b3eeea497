#include "ui/periodbox.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>

#include <algorithm>

namespace tarvelo {

PeriodBox::PeriodBox(const Bound& first, const Bound& second, QWidget* parent)
    : QGroupBox(tr("Period to show"), parent)
{
    setObjectName(QStringLiteral("periodGroup"));
    auto* grid = new QGridLayout(this);
    const std::array<const Bound*, 2> bounds{&first, &second};
    for (int row = 0; row < 2; ++row) {
        const Bound& bound = *bounds[row];
        auto* check = new QCheckBox(bound.label, this);
        check->setObjectName(bound.checkName);
        check->setChecked(bound.on);
        auto* picker = new QDateEdit(this);
        picker->setObjectName(bound.dateName);
        picker->setDateRange(firstDay(), lastDay());
        picker->setCalendarPopup(true);
        picker->setDate(bound.date.isValid() ? std::clamp(bound.date, firstDay(), lastDay()) : firstDay());
        picker->setEnabled(bound.on);
        connect(check, &QCheckBox::toggled, picker, &QWidget::setEnabled);
        grid->addWidget(check, row, 0);
        grid->addWidget(picker, row, 1);
        m_checks[row] = check;
        m_dates[row] = picker;
    }
    grid->setColumnStretch(2, 1);
}

bool PeriodBox::isOn(int bound) const
{
    return m_checks.at(bound)->isChecked();
}

QDate PeriodBox::date(int bound) const
{
    return m_dates.at(bound)->date();
}

} // namespace tarvelo
