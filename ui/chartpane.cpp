#include "ui/chartpane.h"

#include <QPalette>

namespace tarvelo {

ChartPane::ChartPane(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("chartView"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    setMinimumHeight(20);
}

} // namespace tarvelo
