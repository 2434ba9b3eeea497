#include "ui/generaloptionsdialog.h"

#include "resources/strings.h"
#include "ui/numberfield.h"
#include "ui/prompter.h"
#include "ui/settingsfailure.h"
#include "ui/shell.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace tarvelo {

namespace {

QTimeEdit* makeTimeEdit(int hour, int minute, const QString& name, QWidget* parent)
{
    auto* edit = new QTimeEdit(QTime(std::clamp(hour, 0, 23), std::clamp(minute, 0, 59)), parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("HH:mm"));
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return edit;
}

QCheckBox* makeCheck(const QString& text, bool checked, const QString& name, QWidget* parent)
{
    auto* check = new QCheckBox(text, parent);
    check->setObjectName(name);
    check->setChecked(checked);
    return check;
}

} // namespace

GeneralOptionsDialog::GeneralOptionsDialog(const GeneralOptions& options, QWidget* parent)
    : QDialog(parent), m_options(options)
{
    setObjectName(QStringLiteral("generalOptionsDialog"));
    setWindowTitle(tr("General options"));

    auto* downloadsLabel = new QLabel(tr("Maximal number of simultaneous downloads: "), this);
    m_downloads = makeNumberField("numberDownloads", options, &GeneralOptions::numberDownloads);
    downloadsLabel->setBuddy(m_downloads->edit());
    m_downloadStatus = makeCheck(tr("Show download status automatically"), options.downloadStatus,
                                 QStringLiteral("downloadStatusCheck"), this);
    m_showFile = makeCheck(tr("Show downloaded file if quotation not found"), options.showFileOnError,
                           QStringLiteral("showFileCheck"), this);
    m_autoupdate = makeCheck(tr("Automatically update all items every"), options.autoupdate,
                             QStringLiteral("autoupdateCheck"), this);
    m_interval = makeNumberField("interval", options, &GeneralOptions::updateInterval);
    m_onlyBetween =
        makeCheck(tr("Only between"), options.autoupdateTime, QStringLiteral("onlyBetweenCheck"), this);
    m_start = makeTimeEdit(options.hour1, options.minute1, QStringLiteral("startTime"), this);
    m_end = makeTimeEdit(options.hour2, options.minute2, QStringLiteral("endTime"), this);

    auto* exitGroup = new QGroupBox(tr("On program exit"), this);
    exitGroup->setObjectName(QStringLiteral("onExitGroup"));
    m_saveViewOptions = makeCheck(tr("Save view options"), options.autosaveWindows,
                                  QStringLiteral("saveViewOptionsCheck"), exitGroup);
    m_savePortfolio = makeCheck(tr("Save portfolio file"), options.autosaveOnExit,
                                QStringLiteral("savePortfolioCheck"), exitGroup);
    auto* exitLayout = new QVBoxLayout(exitGroup);
    exitLayout->addWidget(m_saveViewOptions);
    exitLayout->addWidget(m_savePortfolio);

    auto* webGroup = new QGroupBox(tr("Web pages"), this);
    webGroup->setObjectName(QStringLiteral("webPagesGroup"));
    m_allowHttps = makeCheck(tr("Allow secure addresses (https)"), options.allowHttps,
                             QStringLiteral("allowHttpsCheck"), webGroup);
    auto* agentLabel = new QLabel(tr("User agent (empty: the program's own):"), webGroup);
    m_userAgent = new QLineEdit(QString::fromLatin1(options.userAgent), webGroup);
    m_userAgent->setObjectName(QStringLiteral("userAgentEdit"));
    m_userAgent->setMaxLength(static_cast<int>(kMaxUserAgent));
    m_userAgent->setToolTip(tr("Some sites refuse programs they do not know; a browser's user agent "
                                           "may be set here"));
    agentLabel->setBuddy(m_userAgent);
    auto* webLayout = new QVBoxLayout(webGroup);
    webLayout->addWidget(m_allowHttps);
    webLayout->addWidget(agentLabel);
    webLayout->addWidget(m_userAgent);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &GeneralOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->addButton(QDialogButtonBox::Help)->setObjectName(QStringLiteral("helpButton"));
    connect(buttons, &QDialogButtonBox::helpRequested, this, [] { openHelpPage(strings::kDialogHelpPage, "options"); });

    auto* downloadsRow = new QHBoxLayout;
    downloadsRow->addWidget(downloadsLabel);
    downloadsRow->addWidget(m_downloads);
    downloadsRow->addStretch();
    auto* updateRow = new QHBoxLayout;
    updateRow->addWidget(m_autoupdate);
    updateRow->addWidget(m_interval);
    updateRow->addWidget(new QLabel(tr("Minutes"), this));
    updateRow->addStretch();
    auto* windowRow = new QHBoxLayout;
    windowRow->addSpacing(20); // under the update check box it depends on
    windowRow->addWidget(m_onlyBetween);
    windowRow->addWidget(m_start);
    windowRow->addWidget(new QLabel(QStringLiteral("-"), this));
    windowRow->addWidget(m_end);
    windowRow->addWidget(new QLabel(tr("h."), this));
    windowRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(downloadsRow);
    layout->addWidget(m_downloadStatus);
    layout->addWidget(m_showFile);
    layout->addLayout(updateRow);
    layout->addLayout(windowRow);
    layout->addWidget(exitGroup);
    layout->addWidget(webGroup);
    layout->addWidget(buttons);

    connect(m_autoupdate, &QCheckBox::toggled, this, &GeneralOptionsDialog::applyEnabling);
    connect(m_onlyBetween, &QCheckBox::toggled, this, &GeneralOptionsDialog::applyEnabling);
    applyEnabling();
}

NumberField* GeneralOptionsDialog::makeNumberField(const char* name, const GeneralOptions& options,
                                                   std::int32_t GeneralOptions::*member)
{
    const OptionInfo& info = generalOption(member);
    return new NumberField(QLatin1String(name), options.*member, info.low, info.high, this);
}

void GeneralOptionsDialog::applyEnabling()
{
    const bool update = m_autoupdate->isChecked();
    const bool window = update && m_onlyBetween->isChecked();
    m_interval->setEnabled(update);
    m_onlyBetween->setEnabled(update);
    m_start->setEnabled(window);
    m_end->setEnabled(window);
}

void GeneralOptionsDialog::accept()
{
    GeneralOptions taken = m_options;
    const auto downloads = m_downloads->read();
    if (!downloads)
        return;
    const auto interval = m_interval->read();
    if (!interval)
        return;
    taken.numberDownloads = *downloads;
    taken.updateInterval = *interval;
    taken.downloadStatus = m_downloadStatus->isChecked();
    taken.showFileOnError = m_showFile->isChecked();
    taken.autoupdate = m_autoupdate->isChecked();
    taken.autoupdateTime = m_onlyBetween->isChecked();
    const QTime start = m_start->time();
    const QTime end = m_end->time();
    taken.hour1 = start.hour();
    taken.minute1 = start.minute();
    taken.hour2 = end.hour();
    taken.minute2 = end.minute();
    taken.autosaveWindows = m_saveViewOptions->isChecked();
    taken.autosaveOnExit = m_savePortfolio->isChecked();
    taken.allowHttps = m_allowHttps->isChecked();
    const QString agent = m_userAgent->text().trimmed();
    taken.userAgent = agent.toStdString();
    if (const std::string problem = userAgentProblem(taken.userAgent); !problem.empty()) {
        Prompter::instance().inform(this, QString::fromStdString(problem), Prompter::Icon::Warning);
        m_userAgent->setFocus();
        m_userAgent->selectAll();
        return;
    }
    m_options = taken;
    // Settings that cannot be stored still hold for this session.
    saveOptions(m_options);
    reportUnsavedSettings(this);
    QDialog::accept();
}

} // namespace tarvelo
