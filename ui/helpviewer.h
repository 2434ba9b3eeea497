#pragma once

#include <QWidget>

class QAction;
class QTextBrowser;
class QUrl;

namespace tarvelo {

// The program's help pages in a window of their own: one viewer for the whole program,
// raised when it is open already. Back, Forward (Alt+Left, Alt+Right) and Home; links
// to help pages and their sections stay in the viewer, other addresses (web pages,
// mail) go to the shell.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // Shows the page (a file: address, its section as the fragment) in the viewer.
    static HelpViewer& showPage(const QUrl& page);
    // The viewer when one is open, else null.
    static HelpViewer* openViewer();
    // The start page: what the program is and where its help begins.
    static QUrl homePage();

    QTextBrowser* browser() const { return m_browser; }
    QAction* backAction() const { return m_back; }
    QAction* forwardAction() const { return m_forward; }
    QAction* homeAction() const { return m_home; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HelpViewer();
    void show(const QUrl& page);
    void follow(const QUrl& link);
    void keepAbove(QWidget* modal);
    // Whether the widget is the viewer or lies in it (in a window of its own as well).
    bool holds(const QWidget* widget) const;

    QTextBrowser* m_browser;
    QAction* m_back;
    QAction* m_forward;
    QAction* m_home;
    QWidget* m_owner = nullptr;
};

// F1 anywhere in the program opens the help of the window that has the focus: the
// section its Help button opens, or the start page for a window without one. Installed
// once on the application.
void installHelpKey();

} // namespace tarvelo
