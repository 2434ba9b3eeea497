#pragma once

#include <QDate>
#include <QGroupBox>
#include <QString>

#include <array>

class QCheckBox;
class QDateEdit;

namespace tarvelo {

// The group "Period to show" of the chart dialogs: two bounds, each a check box with a
// date picker that is enabled only while its box is checked. The pickers keep to the
// days that a time stamp can hold.
class PeriodBox : public QGroupBox {
    Q_OBJECT
public:
    struct Bound {
        QString checkName;
        QString label;
        QString dateName;
        bool on = false;
        QDate date;
    };

    PeriodBox(const Bound& first, const Bound& second, QWidget* parent = nullptr);

    bool isOn(int bound) const;
    QDate date(int bound) const;

    static QDate firstDay() { return QDate(1970, 1, 2); }
    static QDate lastDay() { return QDate(2038, 1, 18); }

private:
    std::array<QCheckBox*, 2> m_checks{};
    std::array<QDateEdit*, 2> m_dates{};
};

} // namespace tarvelo
