#pragma once

#include "model/serverconfig.h"
#include "platform/localtime.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace tarvelo {

class NumberField;

// "Server configuration": the name to save a server configuration under, picked from
// the stored ones (sorted) or typed. Opens with the first name selected.
class SaveConfigurationDialog : public QDialog {
    Q_OBJECT
public:
    SaveConfigurationDialog(std::vector<std::string> names, QWidget* parent = nullptr);

    std::string name() const;
    QComboBox* nameCombo() const { return m_names; }

private:
    QComboBox* m_names;
};

// "Server properties": every field of one server configuration. The search fields of a
// standard search are always shown; the regular-expression area below them opens with
// "Advanced >>" (and is open for a regular-expression configuration). Besides OK it
// opens the configured page in the browser, hands the values to a test download, and
// saves them under another name.
class ServerSettingsDialog : public QDialog {
    Q_OBJECT
public:
    using TestDownload = std::function<void(const ServerConfig&)>;
    using Clock = std::function<TimeStamp()>;

    // How much taller the dialog is with the regular-expression area open.
    static constexpr int kAdvancedHeight = 180;

    // configName is the stored configuration's name, or "-- User defined --" for the
    // item's own settings; the item's name and symbol fill the address variables.
    ServerSettingsDialog(const ServerConfig& config, std::string configName, std::string itemName,
                         std::string itemSymbol, QWidget* parent = nullptr);
    ~ServerSettingsDialog() override;

    // After OK: the edited record (its Name as it was passed in) and the name to store it
    // under, which "Save configuration As..." may have changed.
    const ServerConfig& config() const { return m_config; }
    const std::string& configName() const { return m_configName; }

    // What "Test quotation update" does with the values; the button is disabled without.
    void setTestDownload(TestDownload testDownload);
    // Tests fix "now" for the date variables; by default the system clock.
    void setClock(Clock clock);

    bool advancedOpen() const { return m_advancedOpen; }

    // Checks every number; refuses with a message, focusing the field, and keeps the
    // dialog open.
    void accept() override;

    // The buttons' commands.
    void toggleAdvanced();
    void openDownloadUrl();
    void testDownload();
    void saveAs();
    void openHelp();

private:
    struct NumberBinding {
        NumberField* field;
        std::int32_t ServerConfig::*member;
    };

    NumberField* makeNumberField(const char* name, std::int32_t ServerConfig::*member, QWidget* parent);
    // The fallback list: none, and every stored configuration but this one.
    void fillFallbacks(const std::string& chosen);
    // Not an item's own settings ("-- User defined --").
    bool storedConfiguration() const;
    // Reads the controls into config; false after refusing a number.
    bool take(ServerConfig& config);
    void applyEnabling();
    void setAdvancedOpen(bool open);
    void updateTitle();

    ServerConfig m_config;
    std::string m_configName;
    const std::string m_itemName;
    const std::string m_itemSymbol;
    TestDownload m_testDownload;
    Clock m_clock;
    bool m_advancedOpen = false;
    std::vector<NumberBinding> m_numbers; // in the order OK checks them

    QLineEdit* m_url;
    NumberField* m_maxChange;
    QComboBox* m_fallback;
    std::vector<QWidget*> m_maxChangeControls;
    std::vector<QWidget*> m_fallbackControls;
    QPlainTextEdit* m_headers;
    std::vector<QWidget*> m_headersControls;
    QButtonGroup* m_conversion;
    QRadioButton* m_semiHtml;
    QComboBox* m_format;
    QCheckBox* m_caseInsensitive;
    QLineEdit* m_textBefore;
    NumberField* m_tags;
    NumberField* m_numbersToSkip;
    QPushButton* m_advancedButton;
    QWidget* m_regExpSlot;
    QWidget* m_regExpArea;
    QRadioButton* m_standardSearch;
    QRadioButton* m_advancedSearch;
    QLineEdit* m_regExp;
    QRadioButton* m_jsonSearch; // only a stored configuration can hold JSON paths
    std::vector<QWidget*> m_jsonControls; // the JSON paths and their labels
    QLineEdit* m_jsonValue;
    QLineEdit* m_jsonDate;
    QLineEdit* m_jsonTime;
    NumberField* m_quotationIndex;
    QCheckBox* m_extractDate;
    QCheckBox* m_extractTime;
    std::vector<QWidget*> m_dateControls; // the day, month and year indices and their labels
    std::vector<QWidget*> m_timeControls; // the hour and minute indices and their labels
    std::vector<QWidget*> m_regExpControls;
    QPushButton* m_testButton;
};

} // namespace tarvelo
