#include "ui/importlocationdialog.h"

#include "resources/strings.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"
#include "ui/shell.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tarvelo {

namespace {

// A month in seconds: the default period of a download.
constexpr TimeStamp kDefaultPeriod = 2'592'000;

CalendarDate localDate(TimeStamp time)
{
    const std::tm t = breakLocalTime(time);
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday};
}

QDate toQDate(const CalendarDate& date)
{
    return QDate(date.year, date.month, date.day);
}

CalendarDate fromQDate(const QDate& date)
{
    return {date.year(), date.month(), date.day()};
}

} // namespace

void ImportLocation::reset(TimeStamp now)
{
    mode = LocalFile;
    begin = localDate(now - kDefaultPeriod);
    end = localDate(now);
}

std::string ImportLocation::address() const
{
    if (mode == Download)
        return expandImportRange(urlTemplate, begin, end);
    // Addresses are UTF-8 like every typed text; the worker turns the path back into
    // the file system's spelling.
    return "file://" + toCore(fromPath(path));
}

ImportLocationDialog::ImportLocationDialog(ImportLocation& location, const std::vector<std::string>& templates,
                                           QWidget* parent)
    : QDialog(parent), m_location(location)
{
    setObjectName(QStringLiteral("importLocationDialog"));
    setWindowTitle(text(strings::kImportLocationTitle));

    m_localButton = new QRadioButton(text(strings::kImportLocalFile), this);
    m_localButton->setObjectName(QStringLiteral("localFileButton"));
    m_path = new QLineEdit(fromPath(location.path), this);
    m_path->setObjectName(QStringLiteral("pathEdit"));
    m_browseButton = new QPushButton(text(strings::kImportFilePath), this);
    m_browseButton->setObjectName(QStringLiteral("filePathButton"));
    m_browseButton->setAutoDefault(false);

    m_downloadButton = new QRadioButton(text(strings::kImportInternetDownload), this);
    m_downloadButton->setObjectName(QStringLiteral("internetDownloadButton"));
    m_begin = new QDateEdit(toQDate(location.begin), this);
    m_begin->setObjectName(QStringLiteral("beginDateEdit"));
    m_begin->setCalendarPopup(true);
    m_end = new QDateEdit(toQDate(location.end), this);
    m_end->setObjectName(QStringLiteral("endDateEdit"));
    m_end->setCalendarPopup(true);
    auto* beginLabel = new QLabel(text(strings::kImportPeriodBegin), this);
    beginLabel->setBuddy(m_begin);
    auto* endLabel = new QLabel(text(strings::kImportPeriodEnd), this);
    endLabel->setBuddy(m_end);

    // The templates sorted and each once, as a sorted combo box lists them; its text is
    // the template chosen last, at first the first of the profile.
    std::vector<QString> sorted;
    for (const std::string& t : templates)
        sorted.push_back(fromCore(t));
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    m_template = new QComboBox(this);
    m_template->setObjectName(QStringLiteral("urlTemplateCombo"));
    m_template->setEditable(true);
    m_template->setInsertPolicy(QComboBox::NoInsert);
    m_template->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_template->setMinimumContentsLength(50);
    for (const QString& t : sorted)
        m_template->addItem(t);
    const std::string chosen =
        location.urlTemplate.empty() && !templates.empty() ? templates.front() : location.urlTemplate;
    m_template->setCurrentText(fromCore(chosen));
    auto* templateLabel = new QLabel(text(strings::kImportUrlTemplate), this);
    templateLabel->setBuddy(m_template);

    auto* note = new QLabel(text(strings::kImportTemplateNote), this);
    note->setObjectName(QStringLiteral("templateNote"));
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Ok)->setText(text(strings::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    buttons->button(QDialogButtonBox::Cancel)->setText(text(strings::kCancel));
    buttons->button(QDialogButtonBox::Help)->setObjectName(QStringLiteral("helpButton"));
    buttons->button(QDialogButtonBox::Help)->setText(text(strings::kHelp));

    connect(m_localButton, &QRadioButton::toggled, this, [this](bool on) { setMode(on ? 0 : 1); });
    connect(m_browseButton, &QPushButton::clicked, this, &ImportLocationDialog::browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [] { openHelpPage(strings::kDialogHelpPage, "import-location"); });

    auto* grid = new QGridLayout;
    grid->addWidget(m_localButton, 0, 0, 1, 4);
    grid->addWidget(m_path, 1, 1, 1, 2);
    grid->addWidget(m_browseButton, 1, 3);
    grid->addWidget(m_downloadButton, 2, 0, 1, 4);
    grid->addWidget(beginLabel, 3, 1);
    auto* period = new QHBoxLayout;
    period->addWidget(m_begin);
    period->addSpacing(12);
    period->addWidget(endLabel);
    period->addWidget(m_end);
    period->addStretch();
    grid->addLayout(period, 3, 2, 1, 2);
    grid->addWidget(templateLabel, 4, 1);
    grid->addWidget(m_template, 4, 2, 1, 2);
    grid->setColumnMinimumWidth(0, 16);
    grid->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addWidget(buttons);

    (location.mode == ImportLocation::Download ? m_downloadButton : m_localButton)->setChecked(true);
    setMode(location.mode);
}

void ImportLocationDialog::setMode(int mode)
{
    const bool local = mode == ImportLocation::LocalFile;
    m_path->setEnabled(local);
    m_browseButton->setEnabled(local);
    m_begin->setEnabled(!local);
    m_end->setEnabled(!local);
    m_template->setEnabled(!local);
}

void ImportLocationDialog::browse()
{
    const QString path =
        Prompter::instance().openFileName(this, text(strings::kImportFilePath), text(strings::kImportAllFiles));
    if (!path.isEmpty())
        m_path->setText(path);
}

void ImportLocationDialog::accept()
{
    m_location.mode = m_downloadButton->isChecked() ? ImportLocation::Download : ImportLocation::LocalFile;
    m_location.path = toPath(m_path->text());
    m_location.begin = fromQDate(m_begin->date());
    m_location.end = fromQDate(m_end->date());
    m_location.urlTemplate = toCore(m_template->currentText());
    QDialog::accept();
}

} // namespace tarvelo
