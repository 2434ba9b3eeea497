#include "ui/application.h"

#include "download/downloadengine.h"
#include "model/portfoliodocument.h"
#include "model/generaloptions.h"
#include "platform/codepage.h"
#include "resources/commandids.h"
#include "servers/builtinservers.h"
#include "resources/strings.h"
#include "ui/helpviewer.h"
#include "ui/mainwindow.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <filesystem>

namespace tarvelo {

int runTarvelo(bool unattended, const std::string& portfolio)
{
    GeneralOptions options = loadOptions();
    installBuiltInServers();
    installHelpKey();

    if (!initializeDownloads()) {
        Prompter::instance().inform(nullptr, text(strings::kSocketsFailed), Prompter::Icon::Warning);
        return 1;
    }
    PortfolioDocument doc;
    DownloadEngine engine(readNumberDownloads());
    engine.setWorkerSettings(readWorkerSettings());
    int status = 0;
    {
        MainWindow frame(doc, options, engine, unattended);
        bool started = true;
        if (unattended) {
            if (portfolio.empty()) {
                std::fprintf(stderr, "tarvelo: unattended update mode needs a portfolio file\n");
                started = false;
                status = 2;
            } else {
                // The name stays the bytes it was: one that is not UTF-8 opens as
                // tarvelo-cli opens it.
                std::error_code ignored;
                const std::filesystem::path absolute = std::filesystem::absolute(portfolio, ignored);
                const std::string path = absolute.empty() ? portfolio : absolute.string();
                const DocumentResult opened = doc.openFile(path);
                const auto report = [&path](const std::string& message) {
                    const QString named = fileMessage(fromPath(path), fromCore(message), u": ");
                    std::fprintf(stderr, "tarvelo: %s\n", named.toLocal8Bit().constData());
                };
                if (!opened.ok()) {
                    report(opened.message());
                    started = false;
                    status = 2;
                } else if (!opened->warning.empty()) {
                    report(opened->warning);
                }
            }
            if (started) {
                QObject::connect(&frame, &MainWindow::unattendedFinished, &frame,
                                 [&frame] { QCoreApplication::exit(frame.exitCode()); });
                frame.showNotificationIcon();
                // A portfolio with nothing to update has nothing to wait for.
                if (frame.updateAllQuotations() == 0) {
                    std::fprintf(stderr, "tarvelo: no quotation to update\n");
                    started = false;
                }
            }
        } else if (!portfolio.empty()) {
            if (!frame.openDocument(fromPath(portfolio))) {
                started = false; // the message has been shown
                status = 1;
            } else {
                frame.show();
            }
        } else {
            frame.show();
        }
        if (started) {
            // The view is refreshed once at the first idle moment.
            QTimer::singleShot(0, &frame, [&frame] { frame.action(commands::kRefresh)->trigger(); });
            status = QApplication::exec();
        }
    } // the window stops the downloads still running as it goes
    doc.closeFile();
    return status;
}

} // namespace tarvelo
