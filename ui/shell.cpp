#include "ui/shell.h"

#include "ui/qtexts.h"

#include <QDesktopServices>
#include <QUrl>

namespace tarvelo {

namespace {

class DesktopShell : public Shell {
public:
    void open(const std::string& address) override
    {
        const QString text = FromCp1252(address);
        const QUrl url(text);
        // Without a scheme of its own the text is a file name.
        QDesktopServices::openUrl(url.scheme().size() > 1 ? url : QUrl::fromLocalFile(text));
    }
    void openFile(const std::string& path) override
    {
        QDesktopServices::openUrl(QUrl::fromLocalFile(FromPath(path)));
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
