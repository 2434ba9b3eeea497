#include "ui/helpviewer.h"

#include "resources/strings.h"
#include "ui/qtexts.h"
#include "ui/shell.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPalette>
#include <QPointer>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace tarvelo {

namespace {

QPointer<HelpViewer> g_viewer;

// Hands F1 to the help of the window it was pressed in.
class HelpKey : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        QWidget* window = static_cast<QWidget*>(watched)->window();
        if (qobject_cast<HelpViewer*>(window))
            return false;
        if (!key->isAutoRepeat())
            showHelpOf(*window);
        return true;
    }

private:
    // A window's Help button knows its section (a property sheet's follows the page
    // in front); a window without one is explained on the start page.
    static void showHelpOf(QWidget& window)
    {
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>(QStringLiteral("helpButton"))) {
            if (button->window() == &window && button->isVisibleTo(&window) && button->isEnabled()) {
                button->click();
                return;
            }
        }
        Shell::instance().showHelp(HelpViewer::homePage());
    }
};

} // namespace

HelpViewer::HelpViewer()
{
    setObjectName(QStringLiteral("helpViewer"));
    setWindowFlag(Qt::Window);
    // The viewer never keeps the program running once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(tr("Tarvelo Help"));

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("helpToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("&Back"));
    m_back->setObjectName(QStringLiteral("backAction"));
    m_back->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    m_back->setEnabled(false);
    m_forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("&Forward"));
    m_forward->setObjectName(QStringLiteral("forwardAction"));
    m_forward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    m_forward->setEnabled(false);
    m_home = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("&Home"));
    m_home->setObjectName(QStringLiteral("homeAction"));
    m_home->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    // Every link passes through follow(): help pages stay here, the rest goes out.
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    // The pages set dark text of their own: they stay on light paper under a dark palette.
    QPalette paper = m_browser->palette();
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::Text, QColor(0x22, 0x22, 0x22));
    paper.setColor(QPalette::Link, QColor(0x1a, 0x4f, 0xa0));
    paper.setColor(QPalette::LinkVisited, QColor(0x5a, 0x3a, 0x8a));
    m_browser->setPalette(paper);

    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_home, &QAction::triggered, this, [this] { show(homePage()); });
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpViewer::follow);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? tr("Tarvelo Help") : title);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_browser);
    resize(760, 620);
}

HelpViewer& HelpViewer::showPage(const QUrl& page)
{
    if (!g_viewer)
        g_viewer = new HelpViewer;
    HelpViewer& viewer = *g_viewer;
    viewer.keepAbove(QApplication::activeModalWidget());
    viewer.QWidget::show();
    viewer.raise();
    viewer.activateWindow();
    // Shown first: a section is scrolled to only in a visible browser.
    viewer.show(page);
    return viewer;
}

HelpViewer* HelpViewer::openViewer()
{
    return g_viewer && g_viewer->isVisible() ? g_viewer.data() : nullptr;
}

QUrl HelpViewer::homePage()
{
    return helpPageAddress(strings::kHomePage);
}

void HelpViewer::show(const QUrl& page)
{
    if (page.isLocalFile() && !QFileInfo::exists(page.toLocalFile())) {
        m_browser->setHtml(tr("<h1>Page not found</h1><p>The help page %1 is not installed.</p>")
                               .arg(page.toLocalFile().toHtmlEscaped()));
        return;
    }
    m_browser->setSource(page);
}

void HelpViewer::follow(const QUrl& link)
{
    const QUrl target = m_browser->source().resolved(link);
    if (target.isLocalFile())
        show(target);
    else if (!target.isRelative())
        Shell::instance().open(toCore(target.toString()));
}

void HelpViewer::keepAbove(QWidget* modal)
{
    if (modal == this || modal == m_owner || holds(modal))
        return;
    // A modal dialog blocks every window but its own: while one is open, the viewer
    // belongs to it, and goes back on its own when the dialog closes.
    if (m_owner)
        m_owner->removeEventFilter(this);
    const QRect place = geometry();
    const bool wasVisible = isVisible();
    setParent(modal, windowFlags() | Qt::Window);
    setGeometry(place);
    m_owner = modal;
    if (m_owner)
        m_owner->installEventFilter(this);
    if (wasVisible)
        QWidget::show();
}

bool HelpViewer::holds(const QWidget* widget) const
{
    // Across window boundaries, which QWidget::isAncestorOf() stops at.
    for (; widget; widget = widget->parentWidget()) {
        if (widget == this)
            return true;
    }
    return false;
}

bool HelpViewer::eventFilter(QObject* watched, QEvent* event)
{
    // The owner has left the modal windows by now: the viewer goes to the dialog still
    // open beneath it (one the owner was opened from), else back on its own.
    if (watched == m_owner && (event->type() == QEvent::Hide))
        keepAbove(QApplication::activeModalWidget());
    return QWidget::eventFilter(watched, event);
}

void installHelpKey()
{
    static QPointer<HelpKey> installed;
    if (installed || !qApp)
        return;
    installed = new HelpKey(qApp);
    qApp->installEventFilter(installed);
}

} // namespace tarvelo
