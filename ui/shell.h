#pragma once

#include <QStringList>

#include <string>

class QString;
class QUrl;

namespace tarvelo {

// Opens files and web pages with the desktop's programs, and help pages in the
// program's help viewer. Tests install a recording shell instead, so nothing is
// opened for real.
class Shell {
public:
    virtual ~Shell() = default;
    // An address ("http://...", "mailto:...") in UTF-8.
    // False when nothing could open it.
    virtual bool open(const std::string& address) = 0;
    // A local file, its path as the file system spells it. False when nothing could
    // open it.
    virtual bool openFile(const std::string& path) = 0;
    // A help page (a file: address, with the section as its fragment) in the help viewer.
    virtual void showHelp(const QUrl& page) = 0;

    static Shell& instance();
    static void install(Shell* shell); // null restores the desktop's shell
};

// The desktop's shell: the desktop's opener (xdg-open) opens addresses and files, the
// help viewer shows help pages. When the opener cannot be started, or ends with a
// failure (no browser, say), a message names the address or file and offers to copy
// it, so the user can open it by hand.
class DesktopShell : public Shell {
public:
    // The opener's program and the arguments that come before the address; tests
    // name a program of their own.
    explicit DesktopShell(QStringList opener = {QStringLiteral("xdg-open")});

    // True when the opener started; what it reports at its end comes later.
    bool open(const std::string& address) override;
    bool openFile(const std::string& path) override;
    void showHelp(const QUrl& page) override;

private:
    bool startOpener(const QString& argument, const QString& shown, bool isFile);

    QStringList m_opener;
};

// The address of one of the help pages shipped with the program (beside it, or where
// an installation keeps its documents), at a section (an anchor of the page) when one
// is named.
QUrl helpPageAddress(const char* fileName, const char* section = nullptr);

// Shows that help page through the shell.
void openHelpPage(const char* fileName, const char* section = nullptr);

} // namespace tarvelo
