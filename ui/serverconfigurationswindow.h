#pragma once

#include "model/serverconfig.h"

#include <QDialog>

#include <string>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace tarvelo {

class DownloadEngine;
class MessageSink;

// "Server configurations": the stored configurations, also those no item uses yet, with
// commands to make a new one (empty or with the wizard), edit one in the server settings, delete one (after asking)
// build one with the configuration wizard, add ready-made ones from the catalog, and pass
// configurations on: Export... writes the selected ones to a registry file (all of them,
// with the set version, when none is selected), Import... shows what a file would add and
// replace and asks first. The item name and symbol fill the address variables for the
// test download, the page address and the wizard.
class ServerConfigurationsWindow : public QDialog {
    Q_OBJECT
public:
    // Test downloads report to sink (the main window's, which shows their results).
    ServerConfigurationsWindow(DownloadEngine& engine, MessageSink& sink, QWidget* parent = nullptr);

    // The names listed, sorted without regard to letter case.
    QStringList names() const;
    // Selects the configuration of that name, if listed, and makes it the current one.
    void select(const QString& name);
    // Selects these configurations (those listed) besides the current one; the others
    // are deselected.
    void selectOnly(const QStringList& names);
    // The selected names, in the list's order.
    QStringList selectedNames() const;

    void newConfiguration();
    void editConfiguration();
    void deleteConfiguration();
    void runWizard();
    void exportConfigurations();
    void importConfigurations();
    // "Add ready-made...": the catalog's configurations to choose from; stores the chosen
    // ones, asking before it replaces stored configurations of the same names.
    void addReadyMade();
    // The same from anywhere (Help menu): the name of the first configuration added,
    // empty when none was.
    static QString chooseReadyMade(QWidget* parent);

private:
    void reload(const QString& selected);
    void applyEnabling();
    QString current() const;
    // Opens the server settings on the record; stores it under the name the dialog ends
    // with when the user presses OK.
    void edit(const std::string& name, const ServerConfig& config);
    // Runs the wizard on the configuration (its name set) and shows the list again.
    void wizard(const ServerConfig& config);

    DownloadEngine& m_engine;
    MessageSink& m_sink;
    QListWidget* m_list;
    QLineEdit* m_itemName;
    QLineEdit* m_itemSymbol;
    QPushButton* m_edit;
    QPushButton* m_delete;
    QPushButton* m_wizard;
};

} // namespace tarvelo
