#include "ui/chartview.h"

#include <QPalette>

namespace tarvelo {

ChartView::ChartView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("chartView"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    setMinimumHeight(20);
}

} // namespace tarvelo
