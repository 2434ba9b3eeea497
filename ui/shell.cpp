#include "ui/shell.h"

#include "resources/strings.h"
#include "ui/helpviewer.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace tarvelo {

namespace {

DesktopShell g_desktop;
Shell* g_shell = &g_desktop;

// Names what nothing opened and why; the user may copy it to open it by hand.
void tellNotOpened(const QString& shown, const QString& reason, bool isFile)
{
    const QString message = text(strings::kShellOpenFailed).arg(shown) + QLatin1Char('\n') + reason;
    const QString copy = isFile ? QCoreApplication::translate("DesktopShell", "&Copy file name")
                                : QCoreApplication::translate("DesktopShell", "&Copy address");
    const int chosen = Prompter::instance().choose(QApplication::activeWindow(), message,
                                                   {copy, QCoreApplication::translate("DesktopShell", "OK")});
    if (chosen == 0)
        QGuiApplication::clipboard()->setText(shown);
}

// Why the opener failed: its exit status, and what it means where xdg-open documents it
// (a browser that is not installed, for one).
QString endedReason(const QString& program, int exitCode)
{
    const QString reason =
        QCoreApplication::translate("DesktopShell", "The opener %1 ended with exit status %2.").arg(program).arg(exitCode);
    if (QFileInfo(program).fileName() != QLatin1String("xdg-open"))
        return reason;
    switch (exitCode) {
    case 2:
        return reason + QLatin1Char(' ') + QCoreApplication::translate("DesktopShell", "The file does not exist.");
    case 3:
        return reason + QLatin1Char(' ')
               + QCoreApplication::translate("DesktopShell",
                                             "No program for this kind of address or file is installed.");
    case 4:
        return reason + QLatin1Char(' ')
               + QCoreApplication::translate("DesktopShell", "The program chosen for it could not open it.");
    default:
        return reason;
    }
}

} // namespace

DesktopShell::DesktopShell(QStringList opener) : m_opener(std::move(opener))
{
    if (m_opener.isEmpty())
        m_opener = QStringList{QStringLiteral("xdg-open")};
}

bool DesktopShell::open(const std::string& address)
{
    const QString text = fromCore(address);
    const QUrl url(text);
    // Without a scheme of its own the text is a file name.
    if (url.scheme().size() <= 1)
        return startOpener(text, text, true);
    if (url.isLocalFile())
        return startOpener(url.toString(QUrl::FullyEncoded), url.toLocalFile(), true);
    return startOpener(url.toString(QUrl::FullyEncoded), text, false);
}

bool DesktopShell::openFile(const std::string& path)
{
    const QString file = fromPath(path);
    return startOpener(file, file, true);
}

void DesktopShell::showHelp(const QUrl& page)
{
    HelpViewer::showPage(page);
}

bool DesktopShell::startOpener(const QString& argument, const QString& shown, bool isFile)
{
    const QString program = m_opener.front();
    // The process lives until the opener ends; its exit status tells whether a
    // program took the address.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(program);
    process->setArguments(m_opener.mid(1) << argument);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        tellNotOpened(shown, QCoreApplication::translate("DesktopShell", "The opener %1 could not be started.").arg(program),
                      isFile);
        return false;
    }
    QObject::connect(process, &QProcess::finished, process,
                     [process, program, shown, isFile](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         // An opener still running as the program ends (xdg-open waits
                         // for the browser it started) is ended with it: nothing failed,
                         // and no window can be shown any more.
                         if (QCoreApplication::closingDown() || (status == QProcess::NormalExit && exitCode == 0))
                             return;
                         const QString reason =
                             status == QProcess::NormalExit
                                 ? endedReason(program, exitCode)
                                 : QCoreApplication::translate("DesktopShell", "The opener %1 crashed.").arg(program);
                         tellNotOpened(shown, reason, isFile);
                     });
    return true;
}

Shell& Shell::instance()
{
    return *g_shell;
}

void Shell::install(Shell* shell)
{
    g_shell = shell ? shell : &g_desktop;
}

QUrl helpPageAddress(const char* fileName, const char* section)
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    QString path = programDir.filePath(QString::fromLatin1(fileName));
    if (!QFileInfo::exists(path)) {
        const QString shared = programDir.filePath(QStringLiteral("../share/tarvelo/") + QString::fromLatin1(fileName));
        if (QFileInfo::exists(shared))
            path = QDir::cleanPath(shared);
    }
    QUrl page = QUrl::fromLocalFile(path);
    if (section && *section)
        page.setFragment(QString::fromLatin1(section));
    return page;
}

void openHelpPage(const char* fileName, const char* section)
{
    Shell::instance().showHelp(helpPageAddress(fileName, section));
}

} // namespace tarvelo
