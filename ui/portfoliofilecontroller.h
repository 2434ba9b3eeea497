#pragma once

#include "model/generaloptions.h"
#include "model/portfoliodocument.h"
#include "ui/recentfiles.h"

#include <QObject>
#include <QString>

#include <functional>

class QMenu;
class QTimer;
class QWidget;

namespace tarvelo {

// The portfolio's file: new, open, save and save as, the question before changes are
// lost, the recent files and their menu, and the file on disk that another program may
// save meanwhile (an unchanged portfolio follows it; a save merges into it or asks).
class PortfolioFileController : public QObject {
    Q_OBJECT
public:
    // The window parents the dialogs and messages. While busy() holds (updates run),
    // the portfolio is not replaced.
    PortfolioFileController(PortfolioDocument& doc, const GeneralOptions& options, QWidget& window,
                            std::function<bool()> busy);

    QMenu* recentMenu() const { return m_recentMenu; }
    void loadRecentFiles();
    // The recent files can be opened only while nothing is busy.
    void enableRecentFiles(bool idle);
    // Looks at the file on disk every two seconds from now on.
    void followFileOnDisk();

    // Each asks to save a changed portfolio first where it would be replaced.
    bool newDocument();
    bool openDocument();
    bool openDocument(const QString& path);
    bool saveDocument();
    bool saveDocumentAs();
    // Saves a changed portfolio after asking (on closing the window silently with the
    // option "AutosaveOnExit"); false when the user cancels or the save fails.
    bool saveModified(bool closing = false);

signals:
    void documentCleared();
    void documentOpened();
    // Saved under its name or a new one.
    void documentSaved();
    // Reloaded because another program saved the file.
    void documentReloaded();
    // The recent files menu was rebuilt, after the list was read or stored.
    void recentFilesChanged();

private:
    void showRecentFiles();
    // Reloads an unchanged portfolio that another program saved.
    void reloadChangedFile();
    // Saves over a file that another program changed: merges, or asks.
    DocumentResult saveToChangedFile();
    // A message about the file at path, which it names.
    void warn(const std::string& path, const std::string& message);

    PortfolioDocument& m_doc;
    const GeneralOptions& m_options;
    QWidget& m_window;
    std::function<bool()> m_busy;
    RecentFileList m_recent;
    QMenu* m_recentMenu = nullptr;
    QTimer* m_diskTimer = nullptr;
};

} // namespace tarvelo
