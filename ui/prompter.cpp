#include "ui/prompter.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

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
    Answer askYesNoCancel(QWidget* parent, const QString& text) override
    {
        const auto button = QMessageBox::question(parent, QStringLiteral("Tarvelo"), text,
                                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        return button == QMessageBox::Yes ? Yes : button == QMessageBox::No ? No : Cancel;
    }
    int choose(QWidget* parent, const QString& text, const QStringList& buttons) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(QStringLiteral("Tarvelo"));
        box.setText(text);
        box.setIcon(QMessageBox::Question);
        QList<QAbstractButton*> added;
        for (qsizetype i = 0; i < buttons.size(); ++i) {
            const auto role = i + 1 == buttons.size() ? QMessageBox::RejectRole : QMessageBox::AcceptRole;
            added.push_back(box.addButton(buttons[i], role));
        }
        if (!added.isEmpty()) {
            box.setDefaultButton(qobject_cast<QPushButton*>(added.front()));
            box.setEscapeButton(added.back());
        }
        box.exec();
        const int index = static_cast<int>(added.indexOf(box.clickedButton()));
        return index;
    }
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override
    {
        return QFileDialog::getOpenFileName(parent, title, QString(), filter);
    }
    QString saveFileName(QWidget* parent, const QString& title, const QString& proposed, const QString& filter,
                         const QString& suffix) override
    {
        QFileDialog dialog(parent, title, QString(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(suffix);
        dialog.selectFile(proposed);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().front();
    }
    int exec(QDialog& dialog) override { return dialog.exec(); }
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
