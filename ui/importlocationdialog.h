#pragma once

#include "extraction/urltemplate.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarvelo {

// Where the quotations to import come from: a local file, or a download whose address a
// historical URL template builds for a period.
struct ImportLocation {
    enum Mode { LocalFile = 0, Download = 1 };
    int mode = LocalFile;
    std::string path;        // the local file, as the file system spells it
    CalendarDate begin;      // the period, in local time
    CalendarDate end;
    std::string urlTemplate; // the template chosen last; empty for the first of the list

    // A new period of the 30 days up to now, in local mode: how the import dialog
    // presents the location each time it opens.
    void reset(TimeStamp now);
    // The address the location makes: "file://" and the path, or the template with the
    // period put in.
    std::string address() const;
};

// Asks for the location of an import. On OK the location holds the user's choice.
class ImportLocationDialog : public QDialog {
    Q_OBJECT
public:
    // The templates are those of the profile (the first always present); the combo box
    // lists them sorted.
    ImportLocationDialog(ImportLocation& location, const std::vector<std::string>& templates,
                         QWidget* parent = nullptr);

    void accept() override;

private:
    void setMode(int mode);
    void browse();

    ImportLocation& m_location;
    QRadioButton* m_localButton;
    QRadioButton* m_downloadButton;
    QLineEdit* m_path;
    QPushButton* m_browseButton;
    QDateEdit* m_begin;
    QDateEdit* m_end;
    QComboBox* m_template;
};

} // namespace tarvelo
