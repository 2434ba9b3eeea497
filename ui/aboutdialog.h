#pragma once

#include <QDialog>

namespace tarvelo {

// "About Tarvelo": the program's icon, name and version, the version of the installed
// server configurations and a contact address that opens the mail program.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    static QString contactAddress();
};

} // namespace tarvelo
