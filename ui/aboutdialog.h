#pragma once

#include <QDialog>

namespace tarvelo {

// "About Tarvelo": the program's icon, name and version, the version of the installed
// server configurations and a link to the program's home page in the help viewer.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

} // namespace tarvelo
