#pragma once

#include "model/itemsettings.h"

#include <QAbstractButton>
#include <QColor>
#include <QDate>
#include <QWidget>

#include <array>

class QCheckBox;
class QRadioButton;

namespace tarvelo {

class PeriodBox;

// A button that shows a colour: a black frame, a grey border, then the colour.
class ColourSwatch : public QAbstractButton {
    Q_OBJECT
public:
    explicit ColourSwatch(QWidget* parent = nullptr);

    void setColour(const QColor& colour);
    QColor colour() const { return m_colour; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
};

// The "Graphic" page of the item property sheet: how the item's history chart is drawn.
class ChartPage : public QWidget {
    Q_OBJECT
public:
    explicit ChartPage(const ChartOptions& options, QWidget* parent = nullptr);

    ChartOptions takeValues() const;
    // The colour dialog, preselected with the line colour; OK takes its colour.
    void chooseColour();

private:
    ChartOptions m_options;
    PeriodBox* m_period = nullptr;
    std::array<QDate, 2> m_shownDates;
    QRadioButton* m_axesPercentual = nullptr;
    QRadioButton* m_axesNominal = nullptr;
    QRadioButton* m_graphicNone = nullptr;
    QRadioButton* m_graphicPercentual = nullptr;
    QRadioButton* m_graphicNominal = nullptr;
    ColourSwatch* m_swatch = nullptr;
    QCheckBox* m_gridCheck = nullptr;
};

} // namespace tarvelo
