#pragma once

#include <QWidget>

namespace tarvelo {

// The lower pane of the main window, below the portfolio list, where the history and
// comparison charts of the selected items are drawn; until they are, a white area.
class ChartView : public QWidget {
    Q_OBJECT
public:
    explicit ChartView(QWidget* parent = nullptr);
};

} // namespace tarvelo
