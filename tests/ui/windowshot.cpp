// Takes a picture of the main window with a portfolio open, as the README shows it:
//
//   tarvelo_windowshot PORTFOLIO PICTURE.png [--dark]
//
// --dark shows it in the Fusion style with a dark palette. The platform and the scale
// factor come from the environment (QT_QPA_PLATFORM=offscreen, QT_SCALE_FACTOR);
// the settings are the current user's (scripts/screenshots points them at a private folder).
#include "download/downloadengine.h"
#include "model/generaloptions.h"
#include "model/portfoliodocument.h"
#include "resources/commandids.h"
#include "servers/builtinservers.h"
#include "ui/mainwindow.h"
#include "ui/portfoliolistview.h"

#include "tests/support/darkpalette.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QStyleFactory>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    using namespace tarvelo;
    if (argc < 3 || (argc == 4 && std::strcmp(argv[3], "--dark") != 0) || argc > 4) {
        std::fprintf(stderr, "usage: tarvelo_windowshot PORTFOLIO PICTURE.png [--dark]\n");
        return 2;
    }
    QApplication app(argc, argv);
    if (argc == 4) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(test::darkPalette());
    }
    GeneralOptions options = loadOptions();
    installBuiltInServers();
    if (!initializeDownloads()) {
        std::fprintf(stderr, "tarvelo_windowshot: downloads cannot start\n");
        return 1;
    }
    PortfolioDocument doc;
    DownloadEngine engine(readNumberDownloads());
    int status = 0;
    {
        MainWindow frame(doc, options, engine, false);
        if (!frame.openDocument(QString::fromLocal8Bit(argv[1]))) {
            std::fprintf(stderr, "tarvelo_windowshot: cannot open %s\n", argv[1]);
            return 1;
        }
        frame.resize(960, 640);
        frame.show();
        frame.action(commands::kRefresh)->trigger();
        // Let the window lay itself out and draw once.
        QElapsedTimer settling;
        settling.start();
        while (settling.elapsed() < 300)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        if (!frame.grab().save(QString::fromLocal8Bit(argv[2]))) {
            std::fprintf(stderr, "tarvelo_windowshot: cannot write %s\n", argv[2]);
            status = 1;
        }
    }
    doc.closeFile();
    return status;
}
