#pragma once

#include "charts/comparisonchart.h"

#include <QDialog>

class QCheckBox;
class QDateEdit;

namespace tarvelo {

// "Properties for the comparison chart": the period limits and the grid of the
// comparison chart. The dialog only edits a copy; its owner takes settings() on OK.
class ComparisonLimitsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ComparisonLimitsDialog(const ComparisonSettings& settings, QWidget* parent = nullptr);

    // The settings as the controls show them.
    ComparisonSettings settings() const;

private:
    void enablePickers();

    ComparisonSettings m_settings;
    QCheckBox* m_afterCheck = nullptr;
    QDateEdit* m_afterDate = nullptr;
    QCheckBox* m_beforeCheck = nullptr;
    QDateEdit* m_beforeDate = nullptr;
    QCheckBox* m_gridCheck = nullptr;
};

} // namespace tarvelo
