#include "ui/serverwizard/wizarddownloadpage.h"

#include "download/downloadengine.h"
#include "download/statustext.h"
#include "resources/strings.h"
#include "ui/qtexts.h"
#include "ui/serverwizard/wizardtexts.h"
#include "ui/shell.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>
#include <utility>

namespace tarvelo {

namespace {

// The page as downloaded under a name a browser shows as a web page: its ".tmp" ending,
// or no ending, becomes ".html". An existing file of that name is replaced. The old name
// when the file cannot be renamed.
std::string renameToHtml(const std::string& path)
{
    std::filesystem::path renamed(path);
    renamed.replace_extension(".html");
    std::error_code error;
    std::filesystem::rename(path, renamed, error);
    return error ? path : renamed.string();
}

} // namespace

WizardDownloadPage::WizardDownloadPage(DownloadEngine& engine, const WizardSubject& subject, QWidget* parent)
    : QDialog(parent), m_engine(engine), m_subject(subject)
{
    setObjectName(QStringLiteral("wizardDownloadPage"));
    setWindowTitle(serverWizardTitle(subject));

    auto* addressLabel = new QLabel(wizardtexts::wizardText(wizardtexts::kAddressLabel), this);
    m_address = new QLineEdit(fromCore(subject.config.url), this);
    m_address->setObjectName(QStringLiteral("addressEdit"));
    addressLabel->setBuddy(m_address);

    auto* framesHelp = new QLabel(wizardtexts::wizardText(wizardtexts::kFramedPageHelp), this);
    framesHelp->setObjectName(QStringLiteral("framedPageHelp"));
    framesHelp->setWordWrap(true);
    auto* variablesHelp = new QLabel(wizardtexts::wizardText(wizardtexts::kVariablesHelp), this);
    variablesHelp->setObjectName(QStringLiteral("variablesHelp"));

    auto* statusLabel = new QLabel(wizardtexts::wizardText(wizardtexts::kStatusLabel), this);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("statusText"));
    m_status->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_status->setMinimumHeight(m_status->fontMetrics().lineSpacing() * 3 + 8);
    m_status->setText(wizardtexts::wizardText(wizardtexts::kPressNext));

    auto* backButton = new QPushButton(wizardtexts::wizardText(wizardtexts::kBack), this);
    backButton->setObjectName(QStringLiteral("backButton"));
    backButton->setEnabled(false);
    // Two buttons at one place: one downloads, the other goes on; only one shows.
    m_downloadButton = new QPushButton(wizardtexts::wizardText(wizardtexts::kNextWide), this);
    m_downloadButton->setObjectName(QStringLiteral("downloadButton"));
    m_nextButton = new QPushButton(wizardtexts::wizardText(wizardtexts::kNextWide), this);
    m_nextButton->setObjectName(QStringLiteral("nextButton"));
    auto* cancelButton = new QPushButton(wizardtexts::wizardText(wizardtexts::kCancel), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto* helpButton = new QPushButton(tr("Help"), this);
    helpButton->setObjectName(QStringLiteral("helpButton"));
    helpButton->setAutoDefault(false);
    connect(helpButton, &QPushButton::clicked, this, [] { openHelpPage(strings::kDialogHelpPage, "wizard"); });
    cancelButton->setAutoDefault(false);
    backButton->setAutoDefault(false);

    connect(m_address, &QLineEdit::textEdited, this, &WizardDownloadPage::addressEdited);
    connect(m_downloadButton, &QPushButton::clicked, this, &WizardDownloadPage::startDownload);
    connect(m_nextButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(addressLabel);
    layout->addWidget(m_address);
    layout->addWidget(framesHelp);
    layout->addWidget(variablesHelp);
    layout->addSpacing(8);
    layout->addWidget(statusLabel);
    layout->addWidget(m_status);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(backButton);
    buttons->addWidget(m_downloadButton);
    buttons->addWidget(m_nextButton);
    buttons->addSpacing(12);
    buttons->addWidget(cancelButton);
    buttons->addWidget(helpButton);
    layout->addLayout(buttons);

    showDownloadButton(true);
    m_address->setFocus();
}

WizardDownloadPage::~WizardDownloadPage()
{
    // A page left without going on leaves nothing behind; a download still under way
    // deletes its files when it ends, through its sink.
    m_files.remove();
}

std::string WizardDownloadPage::address() const
{
    return toCore(m_address->text());
}

WizardPageFiles WizardDownloadPage::takeFiles()
{
    return std::exchange(m_files, WizardPageFiles{});
}

void WizardDownloadPage::showDownloadButton(bool show)
{
    m_downloadButton->setVisible(show);
    m_nextButton->setVisible(!show);
    m_downloadButton->setDefault(show);
    m_nextButton->setDefault(!show);
}

void WizardDownloadPage::addressEdited()
{
    m_status->setText(wizardtexts::wizardText(wizardtexts::kPressNext));
    showDownloadButton(true);
}

void WizardDownloadPage::startDownload()
{
    m_downloadButton->setEnabled(false);
    // The sink lives until the download has ended, also when the page has closed
    // before: the worker may still post to it. A message for a page that is gone, or
    // that started another download since, is dropped with its files.
    auto* sink = new QueuedMessageSink(this, {});
    sink->setHandler([this, sink](MessageId, DownloadMessage& message) {
        if (!handleMessage(sink, message))
            removeMessageFiles(message);
    });
    sink->setEndingWithItsJobs(true);
    m_download = sink;
    startWizardDownload(m_engine, *sink, address(), m_subject.itemName, m_subject.itemSymbol);
}

bool WizardDownloadPage::handleMessage(const QueuedMessageSink* sink, DownloadMessage& message)
{
    if (sink != m_download)
        return false;
    if (isFinalCode(message.code)) {
        m_download = nullptr;
        m_downloadButton->setEnabled(true);
    }
    switch (message.code) {
    case DownloadCode::Done:
        downloaded(message);
        break;
    case DownloadCode::Error:
    case DownloadCode::Aborted:
        m_status->setText(fromCore(connectionStatusText(message)));
        showDownloadButton(true);
        break;
    default:
        m_status->setText(fromCore(connectionStatusText(message)));
        break;
    }
    return true;
}

void WizardDownloadPage::downloaded(DownloadMessage& message)
{
    m_files.remove();
    m_files.raw = renameToHtml(message.rawFile);
    m_files.semiHtml = std::move(message.semiHtmlFile);
    m_files.textOnly = std::move(message.convertedFile);
    m_files.rawInUtf8 = message.page.convertedFromUtf8;
    message.rawFile.clear();
    // The page shows in the browser while the wizard keeps the focus.
    Shell::instance().openFile(m_files.raw);
    m_status->setText(wizardtexts::wizardText(wizardtexts::kDownloaded));
    showDownloadButton(false);
}

} // namespace tarvelo
