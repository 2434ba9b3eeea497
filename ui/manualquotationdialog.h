#pragma once

#include "platform/localtime.h"

#include <QDialog>

#include <string>

class QDateEdit;
class QLineEdit;
class QTimeEdit;

namespace tarvelo {

// "Item quotation": a quotation typed by hand for one item, with its date and time
// (preset to now) and a value from 0.001 to 999999999.
class ManualQuotationDialog : public QDialog {
    Q_OBJECT
public:
    ManualQuotationDialog(const std::string& itemName, TimeStamp now, QWidget* parent = nullptr);

    double value() const { return m_value; }
    // Shows a value already recorded, for changing a quotation.
    void presetValue(double value);
    TimeStamp time() const;

    // Checks the value; refuses with the range message and keeps the dialog open.
    void accept() override;

private:
    QDateEdit* m_date;
    QTimeEdit* m_time;
    QLineEdit* m_valueEdit;
    double m_value = 0.0;
};

} // namespace tarvelo
