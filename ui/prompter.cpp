#include "ui/prompter.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace tarvelo {

namespace {

// The extension that a filter's first pattern gives ("Text Files (*.txt)" gives "txt"),
// or the fallback when that pattern names none ("*", "*.*").
QString filterSuffix(const QString& filter, const QString& fallback)
{
    const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
    const QString patterns = open >= 0 && close > open ? filter.mid(open + 1, close - open - 1) : filter;
    const QString first = patterns.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    if (!first.startsWith(QStringLiteral("*.")))
        return fallback;
    const QString suffix = first.mid(2);
    const bool plain = !suffix.isEmpty() && !suffix.contains(QLatin1Char('*')) && !suffix.contains(QLatin1Char('?'))
                       && !suffix.contains(QLatin1Char('['));
    return plain ? suffix : fallback;
}

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
        // A name typed without extension takes that of the filter chosen, so that the
        // filter decides the file's type; a typed extension stays.
        const auto takeSuffixOf = [&dialog, suffix](const QString& chosen) {
            dialog.setDefaultSuffix(filterSuffix(chosen, suffix));
        };
        takeSuffixOf(dialog.selectedNameFilter());
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, takeSuffixOf);
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
