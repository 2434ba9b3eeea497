#include "ui/portfoliofilecontroller.h"

#include "resources/strings.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace tarvelo {

namespace {

// The fields of the document type that the user reads (the filter and the name of a new
// file) in the user's language; the others are names the program goes by.
QString documentType(DocumentTypeField field)
{
    // The catalog's entries for the two fields the user reads.
    [[maybe_unused]] static constexpr const char* kShownFields[] = {
        QT_TRANSLATE_NOOP("tarvelo::PortfolioFileController", "Quotes"),
        QT_TRANSLATE_NOOP("tarvelo::PortfolioFileController", "Tarvelo Files (*.qvx)"),
    };
    const std::string text = documentTypeString(field);
    if (field == DocumentTypeField::NewFileName || field == DocumentTypeField::Filter)
        return PortfolioFileController::tr(text.c_str());
    return fromCore(text);
}

// A plain save as the outcome of a save that may also merge.
DocumentResult withoutNotes(const Result<void>& saved)
{
    if (!saved.ok())
        return saved.failure();
    return FileNotes{};
}

} // namespace

PortfolioFileController::PortfolioFileController(PortfolioDocument& doc, const GeneralOptions& options,
                                                 QWidget& window, std::function<bool()> busy)
    : QObject(&window), m_doc(doc), m_options(options), m_window(window), m_busy(std::move(busy))
{
    m_recentMenu = new QMenu(tr("Recent &Files"), &m_window);
    m_recentMenu->setObjectName(QStringLiteral("recentFilesMenu"));
    m_diskTimer = new QTimer(this);
    m_diskTimer->setObjectName(QStringLiteral("diskTimer"));
    connect(m_diskTimer, &QTimer::timeout, this, &PortfolioFileController::reloadChangedFile);
}

void PortfolioFileController::loadRecentFiles()
{
    m_recent.load();
    showRecentFiles();
}

void PortfolioFileController::showRecentFiles()
{
    m_recentMenu->clear();
    int number = 1;
    for (const std::string& file : m_recent.files()) {
        const QString path = fromPath(file);
        QAction* entry = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(number).arg(path));
        entry->setData(path);
        entry->setStatusTip(tr("Open this portfolio"));
        connect(entry, &QAction::triggered, this, [this, path] { openDocument(path); });
        ++number;
    }
    m_recentMenu->setEnabled(!m_recent.files().empty());
    emit recentFilesChanged();
}

void PortfolioFileController::enableRecentFiles(bool idle)
{
    m_recentMenu->setEnabled(idle && !m_recent.files().empty());
}

void PortfolioFileController::followFileOnDisk()
{
    m_diskTimer->start(2000);
}

void PortfolioFileController::warn(const std::string& path, const std::string& message)
{
    Prompter::instance().inform(&m_window, fileMessage(fromPath(path), fromCore(message)), Prompter::Icon::Warning);
}

bool PortfolioFileController::saveModified(bool closing)
{
    if (!m_doc.isModified())
        return true;
    if (closing && m_options.autosaveOnExit)
        return saveDocument();
    const QString question = text(strings::kSaveChangesPrompt).arg(fromPath(m_doc.title()));
    switch (Prompter::instance().askYesNoCancel(&m_window, question)) {
    case Prompter::Yes:
        return saveDocument();
    case Prompter::No:
        return true;
    default:
        return false;
    }
}

bool PortfolioFileController::newDocument()
{
    if (m_busy() || !saveModified())
        return false;
    m_doc.startNew();
    emit documentCleared();
    return true;
}

bool PortfolioFileController::openDocument()
{
    if (m_busy())
        return false;
    const QString filter = documentType(DocumentTypeField::Filter) + QStringLiteral(";;") + tr("All Files (*)");
    const QString path = Prompter::instance().openFileName(&m_window, tr("Open"), filter);
    if (path.isEmpty())
        return false;
    return openDocument(path);
}

bool PortfolioFileController::openDocument(const QString& path)
{
    if (m_busy() || !saveModified())
        return false;
    const std::string file = toPath(QFileInfo(path).absoluteFilePath());
    const DocumentResult opened = m_doc.openFile(file);
    if (!opened.ok()) {
        if (!QFileInfo::exists(path)) {
            m_recent.remove(file);
            m_recent.save();
            showRecentFiles();
        }
        warn(file, opened.message());
        return false;
    }
    m_recent.add(file);
    m_recent.save();
    showRecentFiles();
    emit documentOpened();
    if (!opened->leftBackups.empty()) {
        // The file reads whole; the copies of an interrupted save are the user's to drop.
        const QString question = fileMessage(fromPath(file), fromCore(opened->warning))
                                 + tr("\n\nRemove the copy now?");
        if (Prompter::instance().ask(&m_window, question) == Prompter::Yes) {
            for (const std::string& backup : opened->leftBackups)
                std::remove(backup.c_str());
        }
    } else if (!opened->warning.empty()) {
        warn(file, opened->warning);
    }
    return true;
}

void PortfolioFileController::reloadChangedFile()
{
    if (m_doc.filePath().empty() || m_doc.isModified())
        return;
    if (m_doc.diskState() != PortfolioDocument::DiskState::Changed)
        return;
    // Items keep their handles, so the selection and running updates follow them. A
    // file that cannot be read now stays as shown; the next look tries again.
    if (m_doc.reloadFromDisk().ok())
        emit documentReloaded();
}

DocumentResult PortfolioFileController::saveToChangedFile()
{
    // Only new quotations and items here: they go into the file as it is, as an
    // update from the command line does.
    if (m_doc.changedOnlyByAdditions())
        return m_doc.saveMerged();
    const QString question =
        tr("%1 was changed by another program since it was opened here.\n\n"
                       "Merge adds the new items and quotations of this window to the file as it is now; "
                       "other changes made here are dropped.\n"
                       "Overwrite replaces the file with the portfolio as this window shows it.")
            .arg(fromPath(m_doc.filePath()));
    const QStringList buttons{tr("&Merge"), tr("&Overwrite"), tr("Cancel")};
    switch (Prompter::instance().choose(&m_window, question, buttons)) {
    case 0:
        return m_doc.saveMerged();
    case 1:
        return withoutNotes(m_doc.saveFile(m_doc.filePath()));
    default:
        return Failure{}; // cancelled: nothing to say
    }
}

bool PortfolioFileController::saveDocument()
{
    const std::string& path = m_doc.filePath();
    if (path.empty())
        return saveDocumentAs();
    const QFileInfo info(fromPath(path));
    if (info.exists() && !info.isWritable())
        return saveDocumentAs();
    const DocumentResult saved = m_doc.diskState() == PortfolioDocument::DiskState::Changed
                                     ? saveToChangedFile()
                                     : withoutNotes(m_doc.saveFile(path));
    if (!saved.ok()) {
        if (!saved.message().empty()) // empty when the user cancelled
            warn(path, saved.message());
        return false;
    }
    if (!saved->warning.empty())
        warn(path, saved->warning);
    emit documentSaved();
    return true;
}

bool PortfolioFileController::saveDocumentAs()
{
    const QString proposed = m_doc.filePath().empty() ? documentType(DocumentTypeField::NewFileName)
                                                         : fromPath(m_doc.filePath());
    const QString suffix = documentType(DocumentTypeField::Extension).toLower().remove(QLatin1Char('.'));
    const QString path = Prompter::instance().saveFileName(&m_window, tr("Save As"), proposed,
                                                           documentType(DocumentTypeField::Filter), suffix);
    if (path.isEmpty())
        return false;
    const Result<void> saved = m_doc.saveFile(toPath(path));
    if (!saved.ok()) {
        warn(toPath(path), saved.message());
        return false;
    }
    m_recent.add(m_doc.filePath());
    m_recent.save();
    showRecentFiles();
    emit documentSaved();
    return true;
}

} // namespace tarvelo
