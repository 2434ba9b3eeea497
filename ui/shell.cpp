#include "ui/shell.h"

#include "platform/codepage.h"

#include <QDesktopServices>
#include <QUrl>

namespace tarvelo {

namespace {

class DesktopShell : public Shell {
public:
    void open(const std::string& target) override
    {
        const std::string utf8 = Cp1252ToUtf8(target);
        const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
        const QUrl url = text.contains(QStringLiteral("://")) ? QUrl(text) : QUrl::fromLocalFile(text);
        QDesktopServices::openUrl(url);
    }
};

DesktopShell g_desktop;
Shell* g_shell = &g_desktop;

} // namespace

Shell& Shell::instance()
{
    return *g_shell;
}

void Shell::install(Shell* shell)
{
    g_shell = shell ? shell : &g_desktop;
}

} // namespace tarvelo
