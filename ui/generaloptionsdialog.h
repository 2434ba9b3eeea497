#pragma once

#include "model/generaloptions.h"

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QLineEdit;
class QTimeEdit;

namespace tarvelo {

class NumberField;

// "General options": number of downloads, download status, automatic update with its
// interval and daily time window, what is saved on program exit, and how web pages are
// fetched (secure addresses, the user agent). Disabled fields keep
// their values; OK stores and returns them all.
class GeneralOptionsDialog : public QDialog {
    Q_OBJECT
public:
    GeneralOptionsDialog(const GeneralOptions& options, QWidget* parent = nullptr);

    // The values taken on OK; the ones passed in until then.
    GeneralOptions options() const { return m_options; }

    // Checks both numbers and the user agent; refuses with a message, focusing the field, and keeps the
    // dialog open. Stores the values taken; when they cannot be stored, says so and
    // closes all the same (they hold until the program ends).
    void accept() override;

private:
    NumberField* makeNumberField(const char* name, const GeneralOptions& options, std::int32_t GeneralOptions::*member);
    void applyEnabling();

    GeneralOptions m_options;
    NumberField* m_downloads;
    NumberField* m_interval;
    QCheckBox* m_downloadStatus;
    QCheckBox* m_showFile;
    QCheckBox* m_autoupdate;
    QCheckBox* m_onlyBetween;
    QTimeEdit* m_start;
    QTimeEdit* m_end;
    QCheckBox* m_saveViewOptions;
    QCheckBox* m_savePortfolio;
    QCheckBox* m_allowHttps;
    QLineEdit* m_userAgent;
};

} // namespace tarvelo
