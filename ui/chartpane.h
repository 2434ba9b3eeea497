#pragma once

#include <QWidget>

namespace tarvelo {

// The lower pane of the main window, below the portfolio list, where the history and
// comparison charts of the selected items are drawn. For now it shows a white area.
class ChartPane : public QWidget {
    Q_OBJECT
public:
    explicit ChartPane(QWidget* parent = nullptr);
};

} // namespace tarvelo
