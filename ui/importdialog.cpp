#include "ui/importdialog.h"

#include "download/statustext.h"
#include "platform/files.h"
#include "resources/strings.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"
#include "ui/shell.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>

namespace tarvelo {

namespace {

// The name the loaded file gets, so that a text viewer takes it: the ".tmp" ending
// becomes ".txt", and a name without that ending gets ".txt" added. Only the file's own
// name changes, never its folder.
std::string textFileName(const std::string& path)
{
    std::filesystem::path name(path);
    if (name.extension() == ".tmp")
        name.replace_extension(".txt");
    else
        name += ".txt";
    return name.string();
}

// Lowest time between two refreshes of the download count in the status field.
constexpr int kProgressDelayMs = 400;

} // namespace

void ImportState::removeLoadedFile()
{
    removeFileIfPresent(loadedFile);
    loadedFile.clear();
}

ImportDialog::ImportDialog(ImportState& state, const std::string& itemName, const std::string& itemSymbol,
                           WorkerSettings workerSettings, TimeStamp now, QWidget* parent)
    : QDialog(parent), m_state(state), m_itemName(itemName), m_itemSymbol(itemSymbol),
      m_workerSettings(std::move(workerSettings))
{
    setObjectName(QStringLiteral("importDialog"));
    setWindowTitle(text(strings::kImportTitle).arg(fromCore(itemName)));
    m_state.location.reset(now != 0 ? now : currentTime());
    const ImportSettings& settings = m_state.settings;

    auto* locationButton = new QPushButton(text(strings::kImportLocationButton), this);
    locationButton->setObjectName(QStringLiteral("locationButton"));
    locationButton->setAutoDefault(false);
    m_address = new QLineEdit(fromCore(settings.address), this);
    m_address->setObjectName(QStringLiteral("addressEdit"));

    auto* formatLabel = new QLabel(text(strings::kImportNumberFormat), this);
    m_numberFormat = new QComboBox(this);
    m_numberFormat->setObjectName(QStringLiteral("numberFormatCombo"));
    for (const NumberFormat& format : numberFormats())
        m_numberFormat->addItem(QString::fromLatin1(format.shown));
    m_numberFormat->setCurrentIndex(numberFormatIndex(settings.thousands, settings.decimal));
    formatLabel->setBuddy(m_numberFormat);

    m_caseInsensitive = new QCheckBox(text(strings::kImportCaseInsensitive), this);
    m_caseInsensitive->setObjectName(QStringLiteral("caseInsensitiveCheck"));
    m_caseInsensitive->setChecked(settings.caseInsensitive);

    auto* templateLabel = new QLabel(text(strings::kImportFormatTemplate), this);
    m_template = new QLineEdit(fromCore(settings.formatTemplate), this);
    m_template->setObjectName(QStringLiteral("templateEdit"));
    m_template->setCursorPosition(0); // a long template shows from its start
    templateLabel->setBuddy(m_template);

    auto* statusLabel = new QLabel(text(strings::kImportStatus), this);
    m_status = new QPlainTextEdit(this);
    m_status->setObjectName(QStringLiteral("statusEdit"));
    m_status->setReadOnly(true);
    m_status->setTabChangesFocus(true);
    m_status->setFixedHeight(m_status->fontMetrics().lineSpacing() * 3 + 12);
    statusLabel->setBuddy(m_status);

    m_viewButton = new QPushButton(text(strings::kImportViewFile), this);
    m_viewButton->setObjectName(QStringLiteral("viewFileButton"));
    m_viewButton->setAutoDefault(false);
    auto* helpButton = new QPushButton(text(strings::kHelp), this);
    helpButton->setObjectName(QStringLiteral("helpButton"));
    helpButton->setAutoDefault(false);
    // Two buttons at one place: one reads the file, the other imports it; one shows.
    m_readButton = new QPushButton(text(strings::kImportReadFile), this);
    m_readButton->setObjectName(QStringLiteral("readFileButton"));
    m_okButton = new QPushButton(text(strings::kOk), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    auto* cancelButton = new QPushButton(text(strings::kCancel), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setAutoDefault(false);

    connect(locationButton, &QPushButton::clicked, this, &ImportDialog::chooseLocation);
    connect(m_address, &QLineEdit::textChanged, this, &ImportDialog::addressChanged);
    connect(m_readButton, &QPushButton::clicked, this, &ImportDialog::readFile);
    connect(m_okButton, &QPushButton::clicked, this, &ImportDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_viewButton, &QPushButton::clicked, this, &ImportDialog::viewFile);
    connect(helpButton, &QPushButton::clicked, this, [] { openHelpPage(strings::kDialogHelpPage, "import"); });

    auto* grid = new QGridLayout;
    grid->addWidget(locationButton, 0, 0);
    grid->addWidget(m_address, 0, 1);
    grid->addWidget(formatLabel, 1, 0);
    auto* formatRow = new QHBoxLayout;
    formatRow->addWidget(m_numberFormat);
    formatRow->addStretch();
    grid->addLayout(formatRow, 1, 1);
    grid->addWidget(m_caseInsensitive, 2, 1);
    grid->addWidget(templateLabel, 3, 0);
    grid->addWidget(m_template, 3, 1);
    grid->addWidget(statusLabel, 4, 0, Qt::AlignTop);
    grid->addWidget(m_status, 4, 1);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_viewButton);
    buttons->addStretch();
    buttons->addWidget(helpButton);
    buttons->addWidget(m_readButton);
    buttons->addWidget(m_okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    resize(640, sizeHint().height());

    setPhase(Phase::NotLoaded);
    m_status->setPlainText(fromCore(std::exchange(m_state.status, std::string())));
    m_address->setFocus();
}

ImportDialog::~ImportDialog()
{
    // Every download stops and its worker ends before the sinks it posts to go away
    // with the dialog's children; their undelivered messages delete their files.
    for (auto& engine : m_engines)
        engine->requestAbort();
    for (auto& engine : m_engines)
        engine->shutdown();
}

void ImportDialog::setPhase(Phase phase)
{
    m_phase = phase;
    const bool loaded = phase == Phase::Loaded;
    m_readButton->setVisible(!loaded);
    m_readButton->setEnabled(phase == Phase::NotLoaded);
    m_okButton->setVisible(loaded);
    m_readButton->setDefault(!loaded);
    m_okButton->setDefault(loaded);
    m_viewButton->setEnabled(loaded);
}

void ImportDialog::storeSettings()
{
    ImportSettings& settings = m_state.settings;
    settings.address = toCore(m_address->text());
    // No format chosen stands for the one without thousands separator and a comma.
    const int format = m_numberFormat->currentIndex() >= 0 ? m_numberFormat->currentIndex() : 1;
    settings.thousands = numberFormats()[static_cast<std::size_t>(format)].thousands;
    settings.decimal = numberFormats()[static_cast<std::size_t>(format)].decimal;
    settings.caseInsensitive = m_caseInsensitive->isChecked();
    settings.formatTemplate = toCore(m_template->text());
}

void ImportDialog::accept()
{
    if (m_phase != Phase::Loaded)
        return;
    storeSettings();
    QDialog::accept();
}

void ImportDialog::chooseLocation()
{
    ImportLocationDialog dialog(m_state.location, importTemplates(), this);
    if (Prompter::instance().exec(dialog) == QDialog::Accepted)
        m_address->setText(fromCore(m_state.location.address()));
}

void ImportDialog::addressChanged()
{
    // A download under way is for the old address: it stops, and what it still
    // reports is dropped.
    if (m_download) {
        for (auto& engine : m_engines)
            engine->requestAbort();
        m_download = nullptr;
    }
    m_status->clear();
    setPhase(Phase::NotLoaded);
}

void ImportDialog::readFile()
{
    if (m_phase != Phase::NotLoaded)
        return;
    storeSettings();
    // Engines whose downloads have ended are done with.
    m_engines.remove_if([](const std::unique_ptr<DownloadEngine>& engine) { return engine->runningWorkers() == 0; });
    auto& engine = m_engines.emplace_back(std::make_unique<DownloadEngine>());
    engine->setWorkerSettings(m_workerSettings);
    // The sink lives until its download has ended, also when the dialog has left that
    // download behind; files the dialog does not take go with their message.
    auto* sink = new QueuedMessageSink(this, {}, this);
    sink->setHandler([this, sink](MessageId, DownloadMessage& message) {
        handleMessage(sink, message);
        removeMessageFiles(message);
    });
    sink->setFoldingProgress(true);
    sink->setEndingWithItsJobs(true);
    m_download = sink;
    m_status->clear();
    setPhase(Phase::Loading);
    startImportDownload(*engine, *sink, importAddress(m_state.settings.address), m_itemName, m_itemSymbol);
}

void ImportDialog::viewFile()
{
    if (m_phase == Phase::Loaded && !m_state.loadedFile.empty())
        Shell::instance().openFile(m_state.loadedFile);
}

bool ImportDialog::handleMessage(const QueuedMessageSink* sink, DownloadMessage& message)
{
    if (!m_download || sink != m_download)
        return false;
    if (isFinalCode(message.code))
        m_download = nullptr;
    switch (message.code) {
    case DownloadCode::Done:
        loaded(message);
        break;
    case DownloadCode::Error:
        // The system's own message is shown as it came.
        m_status->setPlainText(fromCore(message.detail == DownloadError::Other ? message.errorText
                                                                                 : connectionStatusText(message)));
        setPhase(Phase::NotLoaded);
        break;
    case DownloadCode::Aborted:
        m_status->setPlainText(fromCore(connectionStatusText(message)));
        setPhase(Phase::NotLoaded);
        break;
    case DownloadCode::Initialized:
    case DownloadCode::Connecting:
    case DownloadCode::Connected:
    case DownloadCode::Progress:
        m_status->setPlainText(fromCore(connectionStatusText(message)));
        break;
    default:
        // Extraction results belong to item updates; an import job sends none.
        setPhase(Phase::NotLoaded);
        break;
    }
    return true;
}

void ImportDialog::loaded(DownloadMessage& message)
{
    m_state.removeLoadedFile();
    std::string file = std::exchange(message.rawFile, std::string());
    const std::string renamed = textFileName(file);
    std::error_code error;
    // rename() replaces a file of the new name, if one was left there.
    std::filesystem::rename(file, renamed, error);
    m_state.loadedFile = error ? file : renamed;
    m_status->setPlainText(text(strings::kImportLoaded));
    setPhase(Phase::Loaded);
}

std::string importAddress(const std::string& typed)
{
    QString path = fromCore(typed).trimmed();
    if (!isLocalPath(toCore(path)))
        return typed;
    // A path as the user typed it: "~" is the home folder, and a relative path starts
    // from the program's working folder, as in a shell.
    if (path == QStringLiteral("~") || path.startsWith(QStringLiteral("~/")))
        path = QDir::homePath() + path.mid(1);
    return "file://" + toCore(QFileInfo(path).absoluteFilePath());
}

ImportResult importLoadedFile(PortfolioDocument& doc, ItemKey item, const ImportState& state, QWidget* parent,
                              TimeStamp now)
{
    if (!doc.isValid(item))
        return Failure{};
    const ImportSettings& settings = state.settings;
    const ImportExpression expression =
        translateImportTemplate(settings.formatTemplate, settings.thousands, settings.decimal, doc.itemSymbol(item));

    // A long file takes seconds to match: that runs on a thread of its own while the
    // window keeps painting and, after a moment, shows that it is busy. Input to the
    // program's windows waits meanwhile, so nothing changes the item underneath.
    QProgressDialog progress(text(strings::kImportMatching), QString(), 0, 0, parent);
    progress.setObjectName(QStringLiteral("importProgress"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(kProgressDelayMs);
    const std::string shownName = shownImportName(settings.address);
    QFutureWatcher<ImportMatch> matching;
    QEventLoop loop;
    QObject::connect(&matching, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    // The references hold: the result is taken below, whatever ends the loop.
    matching.setFuture(QtConcurrent::run([&]() -> ImportMatch {
        try {
            return matchImportFile(state.loadedFile, shownName, expression, settings.caseInsensitive,
                                   settings.thousands, settings.decimal, now);
        } catch (const std::exception& e) {
            // A file too large for the memory at hand imports nothing, and says why.
            ImportMatch failed{shownName, {}};
            failed.lines.message = e.what();
            failed.lines.stopped = true;
            return failed;
        }
    }));
    if (!matching.isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    const ImportMatch match = matching.future().takeResult();
    progress.reset();
    return importMatched(doc, item, match);
}

} // namespace tarvelo

