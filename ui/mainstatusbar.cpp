#include "ui/mainstatusbar.h"

#include "ui/downloadhub.h"
#include "ui/qtexts.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QTimer>

namespace tarvelo {

MainStatusBar::MainStatusBar(Clock now, QWidget* parent) : QStatusBar(parent), m_now(std::move(now))
{
    setObjectName(QStringLiteral("statusBar"));
    m_amountPane = new QLabel(this);
    m_amountPane->setObjectName(QStringLiteral("amountPane"));
    m_downloadPane = new QLabel(this);
    m_downloadPane->setObjectName(QStringLiteral("downloadPane"));
    m_clockPane = new QLabel(this);
    m_clockPane->setObjectName(QStringLiteral("clockPane"));
    // Screen readers say the pane's name; its text is its description.
    m_amountPane->setAccessibleName(tr("Portfolio totals"));
    m_downloadPane->setAccessibleName(tr("Running updates"));
    m_clockPane->setAccessibleName(tr("Clock"));
    for (QLabel* pane : {m_amountPane, m_downloadPane, m_clockPane}) {
        pane->setFrameShape(QFrame::StyledPanel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setContentsMargins(4, 0, 4, 0);
        addPermanentWidget(pane);
    }
    m_toggle = new QAction(QStringLiteral("&Status Bar"), this);
    m_toggle->setCheckable(true);
    m_toggle->setChecked(true);
    m_toggle->setStatusTip(QStringLiteral("Show or hide the status bar"));
    connect(m_toggle, &QAction::toggled, this, &QWidget::setVisible);

    m_clockTimer = new QTimer(this);
    m_clockTimer->setObjectName(QStringLiteral("clockTimer"));
    connect(m_clockTimer, &QTimer::timeout, this, &MainStatusBar::showTime);
    m_clockTimer->start(1000);
    showTime();
}

void MainStatusBar::setAmountText(const QString& text)
{
    m_amountPane->setText(text);
    m_amountPane->setAccessibleDescription(text);
}

QString MainStatusBar::amountText() const
{
    return m_amountPane->text();
}

void MainStatusBar::setRunningUpdates(int running)
{
    const QString text = DownloadHub::downloadPaneText(running);
    // The pane grows to its widest text and never shrinks.
    const int width = QFontMetrics(font()).horizontalAdvance(text) + 12;
    if (width > m_downloadPane->minimumWidth())
        m_downloadPane->setMinimumWidth(width);
    m_downloadPane->setText(text);
    m_downloadPane->setAccessibleDescription(text);
}

QString MainStatusBar::downloadText() const
{
    return m_downloadPane->text();
}

QString MainStatusBar::clockText() const
{
    return fromCore(formatLocalTime(m_now(), "%X"));
}

void MainStatusBar::showTime()
{
    const QString text = clockText();
    m_clockPane->setText(text);
    m_clockPane->setAccessibleDescription(text);
}

} // namespace tarvelo
