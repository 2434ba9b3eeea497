#include "tests/support/scriptedprompter.h"

#include <QDialog>

namespace tarvelo::test {

namespace {

// The next scripted entry, or the fallback when the script has run out.
template <typename T>
T takeNext(std::deque<T>& script, T fallback)
{
    if (script.empty())
        return fallback;
    T entry = std::move(script.front());
    script.pop_front();
    return entry;
}

} // namespace

Prompter::Answer ScriptedPrompter::ask(QWidget*, const QString& text)
{
    shown.push_back(text);
    return takeNext(answers, No);
}

int ScriptedPrompter::choose(QWidget*, const QString& text, const QStringList&)
{
    shown.push_back(text);
    return takeNext(choices, -1);
}

QString ScriptedPrompter::nextFile(const QString& title)
{
    shown.push_back(title);
    return takeNext(files, QString());
}

int ScriptedPrompter::exec(QDialog& dialog)
{
    shown.push_back(dialog.windowTitle());
    const auto script = takeNext(dialogs, std::function<int(QDialog&)>());
    return script ? script(dialog) : static_cast<int>(QDialog::Rejected);
}

} // namespace tarvelo::test
