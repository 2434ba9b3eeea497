#pragma once

#include "model/itemsettings.h"
#include "model/serverconfig.h"

#include <QDialog>
#include <QString>
#include <QWidget>

#include <string>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tarvelo {

class DownloadEngine;
class MessageSink;

// "Memo": the item's memo in a large edit. OK hands the text back, Cancel keeps the old one.
class MemoDialog : public QDialog {
    Q_OBJECT
public:
    explicit MemoDialog(const QString& memo, QWidget* parent = nullptr);

    QString memo() const;

private:
    QPlainTextEdit* m_edit;
};

// The "General" page of the item property sheet: name, symbol, memo and the server
// configuration the item uses, with the commands that edit, delete, build and try the
// configurations. Configurations written or deleted here are in the store at once; the
// item's own ("-- User defined --") configuration is the page's copy until the sheet takes it.
class GeneralPage : public QWidget {
    Q_OBJECT
public:
    // settings: the sheet's working record (name, symbol, memo, server = the item's embedded
    // configuration, whose name is the chosen configuration's, empty for "-- User defined --").
    // Test downloads report to sink.
    GeneralPage(const ItemSettings& settings, DownloadEngine& engine, MessageSink& sink, QWidget* parent = nullptr);

    // Tells the user when the item's configuration is not in the store; call once the page
    // is shown.
    void checkConfiguration();
    // Writes name, symbol, memo, the embedded configuration and its name (empty for
    // "-- User defined --"; without a list selection the name the page last had) into settings.
    void takeValues(ItemSettings& settings) const;
    // Puts the name back into the name edit and leaves it there for the user.
    void restoreName(const QString& name);
    // The keyboard focus goes to the name edit (when the sheet becomes active).
    void focusName();

    // The buttons' commands.
    void editMemo();
    void editConfiguration();
    void deleteConfiguration();
    void runWizard();
    void testDownload();
    void openWebPage();

signals:
    void nameEdited(const QString& name); // at every keystroke in the name edit

private:
    // Fills the list with "-- User defined --" and the stored names, sorted, and selects
    // the entry of that name (none when it is not there).
    void fillList(const QString& selected);
    // The chosen list entry, empty without a selection.
    QString chosenEntry() const;
    bool userDefinedChosen() const;
    // The record of the chosen entry: from the store for a named one, the page's copy for
    // "-- User defined --".
    ServerConfig chosenConfig() const;
    std::string itemName() const;
    std::string itemSymbol() const;

    DownloadEngine& m_engine;
    MessageSink& m_sink;
    ServerConfig m_config;    // the page's copy of the item's embedded configuration
    QString m_configEntry;    // the entry the item's configuration name stands for
    QLineEdit* m_name;
    QLineEdit* m_symbol;
    QPlainTextEdit* m_memo;
    QComboBox* m_servers;
};

} // namespace tarvelo
