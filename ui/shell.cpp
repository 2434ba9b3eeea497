#include "ui/shell.h"

#include "platform/codepage.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace tarvelo {

namespace {

class DesktopShell : public Shell {
public:
    void open(const std::string& address) override
    {
        const std::string utf8 = Cp1252ToUtf8(address);
        const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
        const QUrl url(text);
        // Without a scheme of its own the text is a file name.
        QDesktopServices::openUrl(url.scheme().size() > 1 ? url : QUrl::fromLocalFile(text));
    }
    void openFile(const std::string& path) override
    {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path))));
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
