#pragma once

#include "charts/comparisonchart.h"

#include <QDialog>

class QCheckBox;

namespace tarvelo {

class PeriodBox;

// "Properties for the comparison chart": the period limits and the grid of the
// comparison chart. The dialog only edits a copy; its owner takes settings() on OK.
class ComparisonLimitsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ComparisonLimitsDialog(const ComparisonSettings& settings, QWidget* parent = nullptr);

    // The settings as the controls show them.
    ComparisonSettings settings() const;

private:
    ComparisonSettings m_settings;
    PeriodBox* m_period = nullptr;
    QCheckBox* m_gridCheck = nullptr;
};

} // namespace tarvelo
