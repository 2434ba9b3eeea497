#include "ui/prompter.h"

#include <QMessageBox>

namespace tarvelo {

namespace {

class MessageBoxes : public Prompter {
public:
    void inform(QWidget* parent, const QString& text, Icon icon) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(QStringLiteral("Tarvelo"));
        box.setText(text);
        box.setIcon(icon == Icon::Information ? QMessageBox::Information
                    : icon == Icon::Warning   ? QMessageBox::Warning
                    : icon == Icon::Question  ? QMessageBox::Question
                                              : QMessageBox::NoIcon);
        box.exec();
    }
    Answer ask(QWidget* parent, const QString& text) override
    {
        return QMessageBox::question(parent, QStringLiteral("Tarvelo"), text, QMessageBox::Yes | QMessageBox::No)
                       == QMessageBox::Yes
                   ? Yes
                   : No;
    }
};

MessageBoxes g_boxes;
Prompter* g_prompter = &g_boxes;

} // namespace

Prompter& Prompter::instance()
{
    return *g_prompter;
}

void Prompter::install(Prompter* prompter)
{
    g_prompter = prompter ? prompter : &g_boxes;
}

} // namespace tarvelo
