#pragma once

#include "platform/localtime.h"

#include <QStatusBar>

#include <functional>

class QAction;
class QLabel;
class QTimer;

namespace tarvelo {

// The main window's status bar: the command prompts, and the panes with the amount
// invested, the running updates and the clock. Each pane has an accessible name, and
// its text as its accessible description.
class MainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    using Clock = std::function<TimeStamp()>;

    explicit MainStatusBar(Clock now, QWidget* parent = nullptr);

    void setAmountText(const QString& text);
    QString amountText() const;
    void setRunningUpdates(int running);
    QString downloadText() const;
    QString clockText() const;
    // Shows "now" in the clock pane at once (the pane follows every second).
    void showTime();

    // A check box that shows or hides the bar, for the View menu.
    QAction* toggleAction() const { return m_toggle; }

private:
    Clock m_now;
    QLabel* m_amountPane = nullptr;
    QLabel* m_downloadPane = nullptr;
    QLabel* m_clockPane = nullptr;
    QTimer* m_clockTimer = nullptr;
    QAction* m_toggle = nullptr;
};

} // namespace tarvelo
