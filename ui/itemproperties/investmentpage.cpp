#include "ui/itemproperties/investmentpage.h"

#include "platform/translation.h"
#include "resources/strings.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"
#include "ui/shell.h"

#include <QCoreApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <tuple>
#include <utility>

namespace tarvelo {

namespace {

QString numberText(double value)
{
    return QLocale().toString(value, 'g', 15);
}

QLineEdit* numberEdit(const QString& name, double value, QWidget* parent)
{
    auto* edit = new QLineEdit(numberText(value), parent);
    edit->setObjectName(name);
    return edit;
}

void refuse(QWidget* parent, QLineEdit* edit, const QString& message)
{
    Prompter::instance().inform(parent, message, Prompter::Icon::Warning);
    edit->setFocus();
    edit->selectAll();
}

// The form every transaction dialog shares: the item's name on top, OK and Cancel below.
QFormLayout* transactionForm(QDialog* dialog, const QString& name, const QString& title, const std::string& itemName)
{
    dialog->setObjectName(name);
    dialog->setWindowTitle(title);
    auto* form = new QFormLayout(dialog);
    auto* item = new QLabel(fromCore(itemName), dialog);
    item->setObjectName(QStringLiteral("itemNameLabel"));
    form->addRow(QCoreApplication::translate("tarvelo::InvestmentPage", "Item:"), item);
    return form;
}

// OK, Cancel and Help, which opens the dialog's section of the dialog help page.
void addButtons(QDialog* dialog, QFormLayout* form, const char* helpSection)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->setObjectName(QStringLiteral("buttons"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    buttons->addButton(QDialogButtonBox::Help)->setObjectName(QStringLiteral("helpButton"));
    QObject::connect(buttons, &QDialogButtonBox::helpRequested, dialog,
                     [helpSection] { openHelpPage(strings::kDialogHelpPage, helpSection); });
    form->addRow(buttons);
}

// The rows Buy and Sell share, each field at 0; then OK, Cancel and Help.
void addOrderRows(QDialog* dialog, QFormLayout* form, QLineEdit*& quantity, QLineEdit*& quotation,
                  QLineEdit*& commission, const char* helpSection)
{
    quantity = numberEdit(QStringLiteral("quantityEdit"), 0, dialog);
    quotation = numberEdit(QStringLiteral("quotationEdit"), 0, dialog);
    commission = numberEdit(QStringLiteral("commissionEdit"), 0, dialog);
    form->addRow(QCoreApplication::translate("tarvelo::InvestmentPage", "Quantity:"), quantity);
    form->addRow(QCoreApplication::translate("tarvelo::InvestmentPage", "Quotation:"), quotation);
    form->addRow(QCoreApplication::translate("tarvelo::InvestmentPage", "Comission / Taxes:"), commission);
    addButtons(dialog, form, helpSection);
}

} // namespace

std::optional<double> readNumber(QLineEdit* edit, QWidget* parent)
{
    const QString text = edit->text().trimmed();
    bool ok = false;
    double value = QLocale().toDouble(text, &ok);
    if (!ok)
        value = QLocale::c().toDouble(text, &ok);
    if (!ok) {
        refuse(parent, edit, QCoreApplication::translate("tarvelo::InvestmentPage", "Please enter a number."));
        return std::nullopt;
    }
    return value;
}

BuyDialog::BuyDialog(const std::string& itemName, QWidget* parent) : QDialog(parent)
{
    QFormLayout* form = transactionForm(this, QStringLiteral("buyDialog"), tr("Buy"), itemName);
    addOrderRows(this, form, m_quantity, m_quotation, m_commission, "buy");
}

void BuyDialog::accept()
{
    BuyOrder order;
    for (auto [edit, field, range] : {std::tuple{m_quantity, &order.quantity, kBuyQuantityRange},
                                      std::tuple{m_quotation, &order.quotation, kBuyQuotationRange},
                                      std::tuple{m_commission, &order.commission, kBuyCommissionRange}}) {
        const std::optional<double> value = readNumber(edit, this);
        if (!value)
            return;
        *field = *value;
        // The fields are checked in order, so the first one out of its range has the
        // message of the whole order.
        if (!range.contains(*value)) {
            refuse(this, edit, fromCore(checkBuyOrder(order)));
            return;
        }
    }
    m_order = order;
    QDialog::accept();
}

SellDialog::SellDialog(const std::string& itemName, QWidget* parent) : QDialog(parent)
{
    QFormLayout* form = transactionForm(this, QStringLiteral("sellDialog"), tr("Sell"), itemName);
    addOrderRows(this, form, m_quantity, m_quotation, m_commission, "sell");
}

void SellDialog::accept()
{
    SellOrder order;
    const std::optional<std::uint32_t> quantity = parseSellQuantity(m_quantity->text().trimmed().toStdString());
    if (!quantity) {
        refuse(this, m_quantity, fromCore(translate("Portfolio", kPositiveIntegerMessage)));
        return;
    }
    order.quantity = *quantity;
    const std::optional<double> quotation = readNumber(m_quotation, this);
    if (!quotation)
        return;
    order.quotation = *quotation;
    const std::optional<double> commission = readNumber(m_commission, this);
    if (!commission)
        return;
    order.commission = *commission;
    m_order = order;
    QDialog::accept();
}

DividendDialog::DividendDialog(const std::string& itemName, QWidget* parent) : QDialog(parent)
{
    QFormLayout* form = transactionForm(this, QStringLiteral("dividendDialog"), tr("Dividends"), itemName);
    m_valueEdit = numberEdit(QStringLiteral("valueEdit"), 0, this);
    form->addRow(tr("Value:"), m_valueEdit);
    addButtons(this, form, "dividend");
}

void DividendDialog::accept()
{
    const std::optional<double> value = readNumber(m_valueEdit, this);
    if (!value)
        return;
    m_value = *value;
    QDialog::accept();
}

InvestmentPage::InvestmentPage(const ItemSettings& settings, std::string itemName, QWidget* parent)
    : QWidget(parent), m_values(settings), m_itemName(std::move(itemName))
{
    setObjectName(QStringLiteral("investmentPage"));
    setWindowTitle(tr("Investment"));

    auto* investment = new QGroupBox(tr("Investment"), this);
    investment->setObjectName(QStringLiteral("investmentGroup"));
    m_quantity = numberEdit(QStringLiteral("quantityEdit"), 0, investment);
    m_averagePrice = numberEdit(QStringLiteral("averagePriceEdit"), 0, investment);
    auto* buyButton = new QPushButton(tr("&Buy"), investment);
    buyButton->setObjectName(QStringLiteral("buyButton"));
    auto* sellButton = new QPushButton(tr("&Sell"), investment);
    sellButton->setObjectName(QStringLiteral("sellButton"));
    auto* dividendButton = new QPushButton(tr("&Dividends"), investment);
    dividendButton->setObjectName(QStringLiteral("dividendButton"));
    auto* holding = new QGridLayout(investment);
    holding->addWidget(new QLabel(tr("Quantity of items invested:"), investment), 0, 0);
    holding->addWidget(m_quantity, 0, 1);
    holding->addWidget(new QLabel(tr("Average item's buy price:"), investment), 1, 0);
    holding->addWidget(m_averagePrice, 1, 1);
    auto* transactions = new QHBoxLayout;
    transactions->addStretch();
    transactions->addWidget(buyButton);
    transactions->addWidget(sellButton);
    transactions->addWidget(dividendButton);
    holding->addLayout(transactions, 2, 0, 1, 2);

    auto* alarms = new QGroupBox(tr("Alarms"), this);
    alarms->setObjectName(QStringLiteral("alarmsGroup"));
    m_belowCheck = new QCheckBox(tr("whenever quotation below:"), alarms);
    m_belowCheck->setObjectName(QStringLiteral("belowCheck"));
    m_belowLimit = numberEdit(QStringLiteral("belowLimitEdit"), 0, alarms);
    m_aboveCheck = new QCheckBox(tr("whenever quotation above:"), alarms);
    m_aboveCheck->setObjectName(QStringLiteral("aboveCheck"));
    m_aboveLimit = numberEdit(QStringLiteral("aboveLimitEdit"), 0, alarms);
    m_deviationCheck = new QCheckBox(tr("whenever quotation differs more than"), alarms);
    m_deviationCheck->setObjectName(QStringLiteral("deviationCheck"));
    m_deviationPercent = numberEdit(QStringLiteral("deviationPercentEdit"), 0, alarms);
    auto* alarmGrid = new QGridLayout(alarms);
    alarmGrid->addWidget(m_belowCheck, 0, 0);
    alarmGrid->addWidget(m_belowLimit, 0, 1);
    alarmGrid->addWidget(m_aboveCheck, 1, 0);
    alarmGrid->addWidget(m_aboveLimit, 1, 1);
    alarmGrid->addWidget(m_deviationCheck, 2, 0);
    alarmGrid->addWidget(m_deviationPercent, 2, 1);
    alarmGrid->addWidget(new QLabel(tr("% regarding the buy price."), alarms), 2, 2);
    alarmGrid->setColumnStretch(3, 1);

    auto* page = new QVBoxLayout(this);
    page->addWidget(investment);
    page->addWidget(alarms);
    page->addStretch();

    m_belowCheck->setChecked(settings.belowAlarm.isSet());
    m_aboveCheck->setChecked(settings.aboveAlarm.isSet());
    m_deviationCheck->setChecked(settings.deviationAlarm.isSet());
    showValues();
    enableLimits();
    for (QCheckBox* check : {m_belowCheck, m_aboveCheck, m_deviationCheck})
        connect(check, &QCheckBox::clicked, this, &InvestmentPage::enableLimits);
    connect(buyButton, &QPushButton::clicked, this, &InvestmentPage::buy);
    connect(sellButton, &QPushButton::clicked, this, &InvestmentPage::sell);
    connect(dividendButton, &QPushButton::clicked, this, &InvestmentPage::payDividend);
}

void InvestmentPage::showValues()
{
    m_quantity->setText(numberText(m_values.quantity));
    m_averagePrice->setText(numberText(m_values.averageBuyPrice));
    m_belowLimit->setText(numberText(m_values.belowLimit));
    m_aboveLimit->setText(numberText(m_values.aboveLimit));
    m_deviationPercent->setText(numberText(m_values.deviationPercent));
}

void InvestmentPage::enableLimits()
{
    m_belowLimit->setEnabled(m_belowCheck->isChecked());
    m_aboveLimit->setEnabled(m_aboveCheck->isChecked());
    m_deviationPercent->setEnabled(m_deviationCheck->isChecked());
}

bool InvestmentPage::takeValues(ItemSettings& settings)
{
    ItemSettings taken = m_values;
    for (auto [edit, field] : {std::pair{m_quantity, &taken.quantity}, std::pair{m_averagePrice, &taken.averageBuyPrice},
                               std::pair{m_belowLimit, &taken.belowLimit}, std::pair{m_aboveLimit, &taken.aboveLimit},
                               std::pair{m_deviationPercent, &taken.deviationPercent}}) {
        const std::optional<double> value = readNumber(edit, this);
        if (!value)
            return false;
        *field = *value;
    }
    taken.belowAlarm = m_belowCheck->isChecked();
    taken.aboveAlarm = m_aboveCheck->isChecked();
    taken.deviationAlarm = m_deviationCheck->isChecked();
    m_values = taken;
    settings.quantity = taken.quantity;
    settings.averageBuyPrice = taken.averageBuyPrice;
    settings.belowAlarm = taken.belowAlarm;
    settings.belowLimit = taken.belowLimit;
    settings.aboveAlarm = taken.aboveAlarm;
    settings.aboveLimit = taken.aboveLimit;
    settings.deviationAlarm = taken.deviationAlarm;
    settings.deviationPercent = taken.deviationPercent;
    return true;
}

void InvestmentPage::applySplit(const ItemSettings& adjusted)
{
    m_values.quantity = adjusted.quantity;
    m_values.averageBuyPrice = adjusted.averageBuyPrice;
    m_values.aboveLimit = adjusted.aboveLimit;
    m_values.belowLimit = adjusted.belowLimit;
    // Only the split's values are rewritten: whatever else the user typed stays.
    m_quantity->setText(numberText(m_values.quantity));
    m_averagePrice->setText(numberText(m_values.averageBuyPrice));
    m_aboveLimit->setText(numberText(m_values.aboveLimit));
    m_belowLimit->setText(numberText(m_values.belowLimit));
}

bool InvestmentPage::booked(const Booking& booking)
{
    if (booking.booked())
        return true;
    Prompter::instance().inform(this, fromCore(booking.message), Prompter::Icon::Warning);
    return false;
}

void InvestmentPage::buy()
{
    if (!takeValues(m_values))
        return;
    BuyDialog dialog(m_itemName, this);
    if (Prompter::instance().exec(dialog) != QDialog::Accepted)
        return;
    if (booked(bookBuy(m_values, dialog.order())))
        showValues();
}

void InvestmentPage::sell()
{
    if (!takeValues(m_values))
        return;
    SellDialog dialog(m_itemName, this);
    if (Prompter::instance().exec(dialog) != QDialog::Accepted)
        return;
    const Booking booking = bookSell(m_values, dialog.order());
    if (!booked(booking))
        return;
    Prompter::instance().inform(this, fromCore(sellResultText(booking.result)), Prompter::Icon::Information);
    showValues();
}

void InvestmentPage::payDividend()
{
    if (!takeValues(m_values))
        return;
    DividendDialog dialog(m_itemName, this);
    if (Prompter::instance().exec(dialog) != QDialog::Accepted)
        return;
    if (booked(bookDividend(m_values, dialog.value())))
        showValues();
}

} // namespace tarvelo
