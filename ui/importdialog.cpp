#include "ui/importdialog.h"

#include "servers/catalog.h"

#include "download/statustext.h"
#include "platform/files.h"
#include "resources/strings.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"
#include "ui/shell.h"

#include <QCheckBox>
#include <QColor>
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
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>

namespace tarvelo {

namespace {

// The red of the preview's warnings, dark on a light background and light on a dark one,
// so that it reads in either palette.
QColor warningRed(const QColor& background)
{
    return background.lightness() < 128 ? QColor(255, 120, 110) : QColor(0xB0, 0x00, 0x00);
}

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
// The pause in typing after which an edited template is matched.
constexpr int kPreviewDelayMs = 300;

} // namespace

void ImportState::removeLoadedFile()
{
    removeFileIfPresent(loadedFile);
    loadedFile.clear();
}

ImportDialog::ImportDialog(ImportState& state, const PortfolioDocument& doc, ItemKey item,
                           WorkerSettings workerSettings, TimeStamp now, QWidget* parent)
    : QDialog(parent), m_state(state), m_doc(doc), m_item(item), m_itemName(doc.itemName(item)),
      m_itemSymbol(doc.itemSymbol(item)), m_workerSettings(std::move(workerSettings)), m_fixedNow(now),
      m_previewWatcher(new QFutureWatcher<PreviewOutcome>(this))
{
    setObjectName(QStringLiteral("importDialog"));
    setWindowTitle(text(strings::kImportTitle).arg(fromCore(m_itemName)));
    m_state.location.reset(this->now());
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

    auto* previewLabel = new QLabel(text(strings::kImportPreview), this);
    m_previewSummary = new QLabel(this);
    m_previewSummary->setObjectName(QStringLiteral("previewSummary"));
    m_previewSummary->setWordWrap(true);
    m_previewSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_previewWarnings = new QLabel(this);
    m_previewWarnings->setObjectName(QStringLiteral("previewWarnings"));
    m_previewWarnings->setWordWrap(true);
    m_previewWarnings->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette warningColours = m_previewWarnings->palette();
    warningColours.setColor(QPalette::WindowText, warningRed(warningColours.color(QPalette::Window)));
    m_previewWarnings->setPalette(warningColours);
    m_previewTable = new QTreeWidget(this);
    m_previewTable->setObjectName(QStringLiteral("previewTable"));
    m_previewTable->setRootIsDecorated(false);
    m_previewTable->setUniformRowHeights(true);
    m_previewTable->setSelectionMode(QAbstractItemView::NoSelection);
    m_previewTable->setHeaderLabels({text(strings::kImportPreviewDate), text(strings::kImportPreviewValue)});
    m_previewTable->headerItem()->setTextAlignment(1, Qt::AlignRight);
    m_previewTable->setMinimumHeight(m_previewTable->fontMetrics().lineSpacing() * 8);
    previewLabel->setBuddy(m_previewTable);

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
    connect(m_template, &QLineEdit::textChanged, this, &ImportDialog::settingsEdited);
    connect(m_numberFormat, &QComboBox::currentIndexChanged, this, &ImportDialog::settingsEdited);
    connect(m_caseInsensitive, &QCheckBox::toggled, this, &ImportDialog::settingsEdited);
    m_previewDelay.setSingleShot(true);
    m_previewDelay.setInterval(kPreviewDelayMs);
    connect(&m_previewDelay, &QTimer::timeout, this, &ImportDialog::startPreview);
    connect(m_previewWatcher, &QFutureWatcherBase::finished, this, &ImportDialog::previewFinished);

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
    grid->addWidget(previewLabel, 5, 0, Qt::AlignTop);
    auto* previewBox = new QVBoxLayout;
    previewBox->addWidget(m_previewSummary);
    previewBox->addWidget(m_previewWarnings);
    previewBox->addWidget(m_previewTable, 1);
    grid->addLayout(previewBox, 5, 1);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_viewButton);
    buttons->addStretch();
    buttons->addWidget(helpButton);
    buttons->addWidget(m_readButton);
    buttons->addWidget(m_okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    resize(640, sizeHint().height());

    setPhase(Phase::NotLoaded);
    clearPreview(text(strings::kImportPreviewNotLoaded));
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

ImportSettings ImportDialog::shownSettings() const
{
    ImportSettings settings;
    settings.address = toCore(m_address->text());
    // No format chosen stands for the one without thousands separator and a comma.
    const int format = m_numberFormat->currentIndex() >= 0 ? m_numberFormat->currentIndex() : 1;
    settings.thousands = numberFormats()[static_cast<std::size_t>(format)].thousands;
    settings.decimal = numberFormats()[static_cast<std::size_t>(format)].decimal;
    settings.caseInsensitive = m_caseInsensitive->isChecked();
    settings.formatTemplate = toCore(m_template->text());
    return settings;
}

void ImportDialog::storeSettings()
{
    m_state.settings = shownSettings();
}

TimeStamp ImportDialog::now() const
{
    return m_fixedNow != 0 ? m_fixedNow : currentTime();
}

void ImportDialog::accept()
{
    if (m_phase != Phase::Loaded)
        return;
    storeSettings();
    // OK imports what the preview shows: one still being worked out is waited for.
    if (!previewIsCurrent() && !waitForPreview())
        return;
    QDialog::accept();
}

ImportMatch ImportDialog::takeMatch()
{
    if (!m_shown)
        return {};
    ImportMatch match = std::move(m_shown->match);
    m_shown.reset();
    return match;
}

bool ImportDialog::previewIsCurrent() const
{
    return m_phase == Phase::Loaded && m_shown && m_shown->input == PreviewInput{m_state.loadedFile, shownSettings()};
}

void ImportDialog::settingsEdited()
{
    if (m_phase != Phase::Loaded)
        return;
    m_previewDelay.start();
}

void ImportDialog::startPreview()
{
    m_previewDelay.stop();
    if (m_phase != Phase::Loaded || m_previewRunning)
        return; // a matching that ends starts the next one itself
    PreviewInput input{m_state.loadedFile, shownSettings()};
    const ImportSettings& settings = input.settings;
    const ImportExpression expression =
        translateImportTemplate(settings.formatTemplate, settings.thousands, settings.decimal, m_itemSymbol);
    // The matching works on copies: the document may change while it runs.
    const SecurityItem* item = m_doc.item(m_item);
    SecurityItem snapshot = item ? *item : SecurityItem{};
    const TimeStamp moment = now();
    if (!m_shown)
        clearPreview(text(strings::kImportPreviewWorking));
    m_previewRunning = true;
    m_previewWatcher->setFuture(QtConcurrent::run(
        [input = std::move(input), expression, snapshot = std::move(snapshot), moment]() mutable -> PreviewOutcome {
            const ImportSettings& used = input.settings;
            const std::string shownName = shownImportName(used.address);
            ImportMatch match;
            try {
                match = matchImportFile(input.file, shownName, expression, used.caseInsensitive, used.thousands,
                                        used.decimal, moment);
            } catch (const std::exception& e) {
                // A file too large for the memory at hand imports nothing, and says why.
                match = ImportMatch{shownName, {}};
                match.lines.message = e.what();
                match.lines.stopped = true;
            }
            ImportPreview preview = previewImport(snapshot, match, moment);
            return PreviewOutcome{std::move(input), std::move(match), std::move(preview)};
        }));
}

void ImportDialog::previewFinished()
{
    m_previewRunning = false;
    PreviewOutcome outcome = m_previewWatcher->future().takeResult();
    if (m_phase != Phase::Loaded)
        return;
    if (outcome.input == PreviewInput{m_state.loadedFile, shownSettings()}) {
        m_shown = std::move(outcome);
        showPreview();
    } else if (!m_previewDelay.isActive()) {
        // Edited while the matching ran: the newer settings' turn.
        startPreview();
    }
}

void ImportDialog::showPreview()
{
    const ImportPreview& preview = m_shown->preview;
    m_previewTable->clear();
    if (preview.importsNothing()) {
        m_previewSummary->setText(fromCore(preview.failure));
    } else {
        m_previewSummary->setText(fromCore(preview.counts + "\n" + preview.range));
        QList<QTreeWidgetItem*> rows;
        for (const ImportPreview::Row& row : preview.rows) {
            auto* line = new QTreeWidgetItem(
                {fromCore(previewTime(row.record.time)), fromCore(previewValue(row.record.value))});
            line->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
            if (row.held) {
                for (int column = 0; column < 2; ++column) {
                    line->setForeground(column, m_previewTable->palette().brush(QPalette::Disabled, QPalette::Text));
                    line->setToolTip(column, text(strings::kImportPreviewHeld));
                }
            } else if (row.future || row.far) {
                for (int column = 0; column < 2; ++column)
                    line->setForeground(column, warningRed(m_previewTable->palette().color(QPalette::Base)));
            }
            rows.push_back(line);
        }
        m_previewTable->addTopLevelItems(rows);
        m_previewTable->resizeColumnToContents(0);
    }
    QStringList warnings;
    for (const std::string& warning : preview.warnings)
        warnings.push_back(text(strings::kImportPreviewWarning).arg(fromCore(warning)));
    m_previewWarnings->setText(warnings.join(QLatin1Char('\n')));
    m_previewWarnings->setVisible(!warnings.isEmpty());
    emit previewChanged();
}

void ImportDialog::clearPreview(const QString& note)
{
    m_shown.reset();
    m_previewTable->clear();
    m_previewSummary->setText(note);
    m_previewWarnings->clear();
    m_previewWarnings->setVisible(false);
    emit previewChanged();
}

bool ImportDialog::waitForPreview()
{
    // A long file takes seconds to match: the window keeps painting and, after a
    // moment, shows that it is busy. Input to the program's windows waits meanwhile, so
    // nothing changes the settings or the item underneath.
    QProgressDialog progress(text(strings::kImportMatching), QString(), 0, 0, this);
    progress.setObjectName(QStringLiteral("importProgress"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(kProgressDelayMs);
    QEventLoop loop;
    // Every matching that ends wakes the loop; one for older settings starts the next.
    const QMetaObject::Connection done =
        connect(m_previewWatcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    startPreview();
    while (m_phase == Phase::Loaded && !previewIsCurrent() && m_previewRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    disconnect(done);
    progress.reset();
    return previewIsCurrent();
}

void ImportDialog::chooseLocation()
{
    ImportLocationDialog dialog(m_state.location, importTemplates(), this);
    if (Prompter::instance().exec(dialog) != QDialog::Accepted)
        return;
    m_address->setText(fromCore(m_state.location.address()));
    // The history address of a ready-made configuration brings the line template and
    // number format that read it.
    if (m_state.location.mode != ImportLocation::Download)
        return;
    const Result<std::vector<CatalogEntry>> catalog = readCatalog();
    if (!catalog)
        return;
    for (const CatalogEntry& entry : *catalog) {
        if (!entry.importAddress.empty() && entry.importAddress == m_state.location.urlTemplate) {
            m_template->setText(fromCore(entry.importFormat));
            m_numberFormat->setCurrentIndex(entry.importNumberFormat);
            break;
        }
    }
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
    m_previewDelay.stop();
    clearPreview(text(strings::kImportPreviewNotLoaded));
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
    case DownloadCode::Error: {
        // The system's own message is shown as it came; a local file's names the file.
        const QString cause = fromCore(message.detail == DownloadError::Other ? message.errorText
                                                                                : connectionStatusText(message));
        const std::string_view fileScheme = "file://";
        const bool local = message.url.starts_with(fileScheme);
        m_status->setPlainText(local ? fileMessage(fromPath(message.url.substr(fileScheme.size())), cause) : cause);
        setPhase(Phase::NotLoaded);
        break;
    }
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
    clearPreview(text(strings::kImportPreviewWorking));
    startPreview();
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

} // namespace tarvelo

