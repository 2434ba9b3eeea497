#pragma once

#include <functional>
#include <string>

class QString;
class QUrl;

namespace tarvelo {

// Opens files and web pages with the desktop's programs. Tests install a recording
// shell instead, so nothing is opened for real.
class Shell {
public:
    virtual ~Shell() = default;
    // An address ("http://...", "mailto:...") in UTF-8.
    // False when nothing could open it.
    virtual bool open(const std::string& address) = 0;
    // A local file, its path as the file system spells it. False when nothing could
    // open it.
    virtual bool openFile(const std::string& path) = 0;

    static Shell& instance();
    static void install(Shell* shell); // null restores the desktop's shell
};

// The desktop's shell: the desktop's programs open what QDesktopServices hands them.
// When none can (no browser, no xdg-open), a message names the address or file, so
// the user can open it by hand.
class DesktopShell : public Shell {
public:
    using Opener = std::function<bool(const QUrl&)>;
    // Opens through QDesktopServices; tests pass an opener of their own.
    explicit DesktopShell(Opener opener = {});

    bool open(const std::string& address) override;
    bool openFile(const std::string& path) override;

private:
    bool openOrTell(const QUrl& url, const QString& shown);

    Opener m_opener;
};

// Opens one of the help pages shipped with the program (beside it, or where an
// installation keeps its documents) through the shell; at a section (an anchor of the
// page) when one is named.
void openHelpPage(const char* fileName, const char* section = nullptr);

} // namespace tarvelo
