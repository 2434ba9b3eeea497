#include "ui/manualquotationdialog.h"

#include "model/quotation.h"
#include "resources/strings.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"
#include "ui/shell.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTimeEdit>

#include <algorithm>

namespace tarvelo {

namespace {

// What a title bar holds beside the title: the window icon and up to three buttons,
// with the window manager's margins.
constexpr int kTitleBarExtras = 160;

} // namespace

ManualQuotationDialog::ManualQuotationDialog(const std::string& itemName, TimeStamp now, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("manualQuotationDialog"));
    setWindowTitle(tr("Item quotation"));
    auto* name = new QLabel(fromCore(itemName), this);
    name->setObjectName(QStringLiteral("itemNameLabel"));
    const std::tm local = breakLocalTime(now);
    m_date = new QDateEdit(QDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday), this);
    m_date->setObjectName(QStringLiteral("dateEdit"));
    m_date->setCalendarPopup(true);
    m_time = new QTimeEdit(QTime(local.tm_hour, local.tm_min, local.tm_sec), this);
    m_time->setObjectName(QStringLiteral("timeEdit"));
    m_time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    m_valueEdit = new QLineEdit(QLocale().toString(0.0), this);
    m_valueEdit->setObjectName(QStringLiteral("valueEdit"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ManualQuotationDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->addButton(QDialogButtonBox::Help)->setObjectName(QStringLiteral("helpButton"));
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [] { openHelpPage(strings::kDialogHelpPage, "manual-quotation"); });
    auto* form = new QFormLayout(this);
    form->addRow(tr("Item:"), name);
    form->addRow(tr("Date:"), m_date);
    form->addRow(tr("Time:"), m_time);
    form->addRow(tr("Value:"), m_valueEdit);
    form->addRow(buttons);

    // The window manager draws the title, often in a bold face, and cuts it to the
    // window's width; the dialog opens wide enough for the whole title.
    QFont titleFont = font();
    titleFont.setBold(true);
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + kTitleBarExtras;
    const QSize hint = sizeHint();
    resize(std::max(hint.width(), titleWidth), hint.height());
}

void ManualQuotationDialog::presetValue(double value)
{
    m_valueEdit->setText(QLocale().toString(value, 'g', QLocale::FloatingPointShortest));
}

TimeStamp ManualQuotationDialog::time() const
{
    const QDate d = m_date->date();
    const QTime t = m_time->time();
    return makeLocalTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

void ManualQuotationDialog::accept()
{
    bool ok = false;
    QString text = m_valueEdit->text().trimmed();
    double value = QLocale().toDouble(text, &ok);
    if (!ok)
        value = text.toDouble(&ok); // a point also reads as the decimal separator
    if (!ok || value < kLowestQuotation || value > kHighestQuotation) {
        Prompter::instance().inform(this,
                                    tr("Please enter a number between %1 and %2.")
                                        .arg(QLocale().toString(kLowestQuotation), QLocale().toString(kHighestQuotation, 'f', 0)),
                                    Prompter::Icon::Warning);
        m_valueEdit->setFocus();
        m_valueEdit->selectAll();
        return;
    }
    m_value = value;
    QDialog::accept();
}

} // namespace tarvelo
