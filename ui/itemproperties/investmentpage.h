#pragma once

#include "model/investment.h"
#include "model/itemsettings.h"

#include <QDialog>
#include <QWidget>

#include <optional>
#include <string>

class QCheckBox;
class QLineEdit;

namespace tarvelo {

// Reads a number typed in an edit (the user's decimal separator, or a point); when the
// text is none, says "Please enter a number.", focuses the edit and gives nothing.
std::optional<double> readNumber(QLineEdit* edit, QWidget* parent);

// "Buy": quantity, quotation and commission of a purchase, each within its range.
class BuyDialog : public QDialog {
    Q_OBJECT
public:
    BuyDialog(const std::string& itemName, QWidget* parent = nullptr);

    BuyOrder order() const { return m_order; }
    void accept() override;

private:
    QLineEdit* m_quantity = nullptr;
    QLineEdit* m_quotation = nullptr;
    QLineEdit* m_commission = nullptr;
    BuyOrder m_order;
};

// "Sell": a whole number of units, the quotation and the commission of a sale.
class SellDialog : public QDialog {
    Q_OBJECT
public:
    SellDialog(const std::string& itemName, QWidget* parent = nullptr);

    SellOrder order() const { return m_order; }
    void accept() override;

private:
    QLineEdit* m_quantity = nullptr;
    QLineEdit* m_quotation = nullptr;
    QLineEdit* m_commission = nullptr;
    SellOrder m_order;
};

// "Dividends": the amount paid out on the holding.
class DividendDialog : public QDialog {
    Q_OBJECT
public:
    DividendDialog(const std::string& itemName, QWidget* parent = nullptr);

    double value() const { return m_value; }
    void accept() override;

private:
    QLineEdit* m_valueEdit = nullptr;
    double m_value = 0;
};

// The "Investment" page of the item property sheet: the holding (quantity and average
// buy price), the transactions that change it and the three alarms. It works on its own
// copy of these values; the sheet collects them with takeValues().
class InvestmentPage : public QWidget {
    Q_OBJECT
public:
    InvestmentPage(const ItemSettings& settings, std::string itemName, QWidget* parent = nullptr);

    // Writes the eight values into the settings; false, after telling the user, when an
    // edit holds no number (that edit gets the focus).
    bool takeValues(ItemSettings& settings);
    // A split on the Quotations page changed the holding and the above and below limits.
    void applySplit(const ItemSettings& adjusted);

    void buy();
    void sell();
    void payDividend();

private:
    void showValues();
    void enableLimits();
    // Shows the message of a refused transaction; whether it was booked.
    bool booked(const Booking& booking);

    ItemSettings m_values;
    std::string m_itemName;
    QLineEdit* m_quantity = nullptr;
    QLineEdit* m_averagePrice = nullptr;
    QCheckBox* m_belowCheck = nullptr;
    QLineEdit* m_belowLimit = nullptr;
    QCheckBox* m_aboveCheck = nullptr;
    QLineEdit* m_aboveLimit = nullptr;
    QCheckBox* m_deviationCheck = nullptr;
    QLineEdit* m_deviationPercent = nullptr;
};

} // namespace tarvelo
