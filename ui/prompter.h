#pragma once

#include <QString>
#include <QStringList>

class QDialog;
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
    virtual Answer askYesNoCancel(QWidget* parent, const QString& text) = 0;
    // A question with buttons of its own, the last one cancelling; the index of the
    // button chosen, or -1 when the box was closed.
    virtual int choose(QWidget* parent, const QString& text, const QStringList& buttons) = 0;
    // A file to open or to save; empty when cancelled. The filter is in Qt's form
    // ("Tarvelo Files (*.qvx)"); a name saved without extension gets the extension of
    // the filter chosen, or the suffix when that filter names none.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& proposed,
                                 const QString& filter, const QString& suffix) = 0;
    // Runs a modal dialog; QDialog::Accepted or QDialog::Rejected.
    virtual int exec(QDialog& dialog) = 0;

    static Prompter& instance();
    static void install(Prompter* prompter); // null restores the real message boxes
};

} // namespace tarvelo
