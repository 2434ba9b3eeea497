#include "ui/shell.h"

#include "resources/strings.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QDesktopServices>
#include <QUrl>

namespace tarvelo {

namespace {

DesktopShell g_desktop;
Shell* g_shell = &g_desktop;

} // namespace

DesktopShell::DesktopShell(Opener opener) : m_opener(std::move(opener))
{
    if (!m_opener)
        m_opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

bool DesktopShell::open(const std::string& address)
{
    const QString text = fromCore(address);
    const QUrl url(text);
    // Without a scheme of its own the text is a file name.
    return openOrTell(url.scheme().size() > 1 ? url : QUrl::fromLocalFile(text), text);
}

bool DesktopShell::openFile(const std::string& path)
{
    const QString file = fromPath(path);
    return openOrTell(QUrl::fromLocalFile(file), file);
}

bool DesktopShell::openOrTell(const QUrl& url, const QString& shown)
{
    if (m_opener(url))
        return true;
    Prompter::instance().inform(QApplication::activeWindow(), text(strings::kShellOpenFailed).arg(shown),
                                Prompter::Icon::Warning);
    return false;
}

Shell& Shell::instance()
{
    return *g_shell;
}

void Shell::install(Shell* shell)
{
    g_shell = shell ? shell : &g_desktop;
}

void openHelpPage(const char* fileName, const char* section)
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    QString path = programDir.filePath(QString::fromLatin1(fileName));
    if (!QFileInfo::exists(path)) {
        const QString shared = programDir.filePath(QStringLiteral("../share/tarvelo/") + QString::fromLatin1(fileName));
        if (QFileInfo::exists(shared))
            path = QDir::cleanPath(shared);
    }
    if (!section || !*section) {
        Shell::instance().openFile(toPath(path));
        return;
    }
    QUrl page = QUrl::fromLocalFile(path);
    page.setFragment(QString::fromLatin1(section));
    Shell::instance().open(toCore(page.toString()));
}

} // namespace tarvelo
