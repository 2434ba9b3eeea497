#pragma once

#include <QString>
#include <QStringList>

#include <deque>

class QWidget;

namespace tarvelo {

// Message boxes go through the prompter, so tests script the answers instead of
// waiting in a modal loop.
class Prompter {
public:
    enum class Icon { None, Information, Warning, Question };
    enum Answer { Ok, Yes, No, Cancel };

    virtual ~Prompter() = default;
    virtual void inform(QWidget* parent, const QString& text, Icon icon) = 0;
    virtual Answer ask(QWidget* parent, const QString& text) = 0; // Yes or No

    static Prompter& instance();
    static void install(Prompter* prompter); // null restores the real message boxes
};

// Records every text and answers from a script (No when the script is empty).
class ScriptedPrompter : public Prompter {
public:
    void inform(QWidget*, const QString& text, Icon) override { shown.push_back(text); }
    Answer ask(QWidget*, const QString& text) override
    {
        shown.push_back(text);
        if (answers.empty())
            return No;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QStringList shown;
    std::deque<Answer> answers;
};

} // namespace tarvelo
