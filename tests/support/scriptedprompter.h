#pragma once

#include "ui/prompter.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

namespace tarvelo::test {

// Stands in for the message boxes and dialogs: records every text and answers from a
// script (No when the script is empty).
class ScriptedPrompter : public Prompter {
public:
    void inform(QWidget*, const QString& text, Icon) override { shown.push_back(text); }
    Answer ask(QWidget*, const QString& text) override;
    Answer askYesNoCancel(QWidget* parent, const QString& text) override { return ask(parent, text); }
    int choose(QWidget*, const QString& text, const QStringList&) override;
    QString openFileName(QWidget*, const QString& title, const QString&) override { return nextFile(title); }
    QString saveFileName(QWidget*, const QString& title, const QString&, const QString&, const QString&) override
    {
        return nextFile(title);
    }
    // The script fills the dialog in and says how it ends; rejected without a script.
    int exec(QDialog& dialog) override;

    QStringList shown;
    std::deque<Answer> answers;
    std::deque<int> choices;
    std::deque<QString> files;
    std::deque<std::function<int(QDialog&)>> dialogs;

private:
    QString nextFile(const QString& title);
};

} // namespace tarvelo::test
