#include "ui/serverconfigurationswindow.h"

#include "download/downloadengine.h"
#include "resources/strings.h"
#include "servers/regfile.h"
#include "servers/catalog.h"
#include "ui/catalogdialog.h"
#include "servers/serverstore.h"
#include "ui/dialogdownloads.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"
#include "ui/serversettingsdialog.h"
#include "ui/serverwizard/serverwizard.h"
#include "ui/settingsfailure.h"
#include "ui/shell.h"

#include <QCoreApplication>
#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tarvelo {

namespace {

struct NewConfiguration {
    std::string name; // empty when the user cancelled
    bool withWizard = false;
};

// Asks for the name of a new configuration and how to begin it: with empty settings or
// with the wizard. Names the store cannot hold, and names already taken, are refused
// with a message and asked again.
NewConfiguration askNewConfiguration(QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("newServerDialog"));
    dialog.setWindowTitle(QCoreApplication::translate("tarvelo::ServerConfigurationsWindow", "New server configuration"));
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName(QStringLiteral("nameEdit"));
    edit->setMaxLength(static_cast<int>(kMaxServerName));
    auto* empty = new QRadioButton(ServerConfigurationsWindow::tr("&Empty settings"), &dialog);
    empty->setObjectName(QStringLiteral("emptySettingsChoice"));
    empty->setChecked(true);
    auto* wizard = new QRadioButton(ServerConfigurationsWindow::tr("Build it with the &wizard"), &dialog);
    wizard->setObjectName(QStringLiteral("wizardChoice"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto* layout = new QFormLayout(&dialog);
    layout->addRow(ServerConfigurationsWindow::tr("&Name:"), edit);
    layout->addRow(ServerConfigurationsWindow::tr("Start with:"), empty);
    layout->addRow(QString(), wizard);
    layout->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        const std::string name = toCore(edit->text());
        QString problem = fromCore(serverNameProblem(name));
        if (problem.isEmpty() && name == strings::kUserDefinedServer)
            problem = QCoreApplication::translate("tarvelo::ServerConfigurationsWindow", "This name stands for an item's own settings.");
        if (problem.isEmpty() && serverConfigExists(name))
            problem = QCoreApplication::translate("tarvelo::ServerConfigurationsWindow", "A configuration of this name exists already; choose it in the list to edit it.");
        if (!problem.isEmpty()) {
            Prompter::instance().inform(&dialog, problem, Prompter::Icon::Warning);
            edit->setFocus();
            edit->selectAll();
            return;
        }
        dialog.accept();
    });
    if (Prompter::instance().exec(dialog) != QDialog::Accepted)
        return {};
    return {toCore(edit->text()), wizard->isChecked()};
}

// Lists what importing a file would do, under "Add", "Replace" and "Unchanged"; true
// when the user presses OK.
bool confirmImport(QWidget* parent, const QString& path, const std::vector<ServerConfigChangeEntry>& changes)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("importServersDialog"));
    dialog.setWindowTitle(QCoreApplication::translate("tarvelo::ServerConfigurationsWindow", "Import server configurations"));
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("changeList"));
    list->setSelectionMode(QAbstractItemView::NoSelection);
    const std::pair<ServerConfigChange, QString> kinds[] = {
        {ServerConfigChange::Add, QCoreApplication::translate("tarvelo::ServerConfigurationsWindow", "Add")},
        {ServerConfigChange::Replace, QCoreApplication::translate("tarvelo::ServerConfigurationsWindow", "Replace (stored with other values)")},
        {ServerConfigChange::Unchanged, QCoreApplication::translate("tarvelo::ServerConfigurationsWindow", "Unchanged (stored with the same values)")},
    };
    for (const auto& [kind, heading] : kinds) {
        const std::vector<std::string> names = serverConfigNames(changes, kind);
        if (names.empty())
            continue;
        auto* head = new QListWidgetItem(QStringLiteral("%1: %2").arg(heading).arg(names.size()), list);
        QFont bold = head->font();
        bold.setBold(true);
        head->setFont(bold);
        for (const std::string& name : names)
            new QListWidgetItem(QStringLiteral("    ") + fromCore(name), list);
    }
    const std::size_t replaced = serverConfigNames(changes, ServerConfigChange::Replace).size();
    QString question = changes.empty() ? QCoreApplication::translate("tarvelo::ServerConfigurationsWindow", "The file %1 holds no server configuration.")
                                       : QCoreApplication::translate("tarvelo::ServerConfigurationsWindow", "Importing %1 does this to the stored server configurations:");
    question = question.arg(path);
    if (replaced > 0)
        question += QCoreApplication::translate("tarvelo::ServerConfigurationsWindow", "\nOK replaces the configurations listed under \"Replace\"; items that use them "
                                   "then read the imported values.");
    auto* label = new QLabel(question, &dialog);
    label->setObjectName(QStringLiteral("questionLabel"));
    label->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(list, 1);
    layout->addWidget(buttons);
    dialog.resize(420, 320);
    return Prompter::instance().exec(dialog) == QDialog::Accepted;
}

} // namespace

ServerConfigurationsWindow::ServerConfigurationsWindow(DownloadEngine& engine, MessageSink& sink, QWidget* parent)
    : QDialog(parent), m_engine(engine), m_sink(sink)
{
    setObjectName(QStringLiteral("serverConfigurationsWindow"));
    setWindowTitle(tr("Server configurations"));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("configurationList"));
    m_list->setSortingEnabled(false); // reload() orders the names
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection); // several to export
    m_itemName = new QLineEdit(this);
    m_itemName->setObjectName(QStringLiteral("itemNameEdit"));
    m_itemSymbol = new QLineEdit(this);
    m_itemSymbol->setObjectName(QStringLiteral("itemSymbolEdit"));

    const auto button = [this](const QString& text, const QString& name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* create = button(tr("&New..."), QStringLiteral("newButton"));
    m_edit = button(tr("&Edit..."), QStringLiteral("editButton"));
    m_delete = button(tr("&Delete"), QStringLiteral("deleteButton"));
    m_wizard = button(tr("&Wizard..."), QStringLiteral("wizardButton"));
    QPushButton* exportButton = button(tr("E&xport..."), QStringLiteral("exportButton"));
    QPushButton* importButton = button(tr("&Import..."), QStringLiteral("importButton"));
    QPushButton* readyMade = button(tr("Add &ready-made..."), QStringLiteral("readyMadeButton"));
    QPushButton* close = button(tr("Close"), QStringLiteral("closeButton"));
    QPushButton* help = button(tr("Help"), QStringLiteral("helpButton"));
    connect(help, &QPushButton::clicked, this, [] { openHelpPage(strings::kDialogHelpPage, "server-configurations"); });
    connect(create, &QPushButton::clicked, this, &ServerConfigurationsWindow::newConfiguration);
    connect(m_edit, &QPushButton::clicked, this, &ServerConfigurationsWindow::editConfiguration);
    connect(m_delete, &QPushButton::clicked, this, &ServerConfigurationsWindow::deleteConfiguration);
    connect(m_wizard, &QPushButton::clicked, this, &ServerConfigurationsWindow::runWizard);
    connect(exportButton, &QPushButton::clicked, this, &ServerConfigurationsWindow::exportConfigurations);
    connect(importButton, &QPushButton::clicked, this, &ServerConfigurationsWindow::importConfigurations);
    connect(readyMade, &QPushButton::clicked, this, &ServerConfigurationsWindow::addReadyMade);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &ServerConfigurationsWindow::editConfiguration);
    connect(m_list, &QListWidget::currentRowChanged, this, &ServerConfigurationsWindow::applyEnabling);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {create, m_edit, m_delete, m_wizard, readyMade})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    buttons->addWidget(exportButton);
    buttons->addWidget(importButton);
    buttons->addStretch();
    buttons->addWidget(help);
    buttons->addWidget(close);
    auto* top = new QHBoxLayout;
    top->addWidget(m_list, 1);
    top->addLayout(buttons);
    auto* item = new QFormLayout;
    item->addRow(tr("Item na&me:"), m_itemName);
    item->addRow(tr("Item &symbol:"), m_itemSymbol);
    auto* note = new QLabel(tr("The item's name and symbol fill the variables [&name] and [&symbol] "
                                           "for the test download, the web page and the wizard."),
                            this);
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Stored server configurations:"), this));
    layout->addLayout(top, 1);
    layout->addLayout(item);
    layout->addWidget(note);
    resize(460, 420);
    reload({});
}

QStringList ServerConfigurationsWindow::names() const
{
    QStringList names;
    for (int i = 0; i < m_list->count(); ++i)
        names << m_list->item(i)->text();
    return names;
}

void ServerConfigurationsWindow::select(const QString& name)
{
    const auto found = m_list->findItems(name, Qt::MatchExactly);
    if (!found.isEmpty())
        m_list->setCurrentItem(found.front());
}

void ServerConfigurationsWindow::selectOnly(const QStringList& names)
{
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setSelected(names.contains(m_list->item(i)->text()));
}

QStringList ServerConfigurationsWindow::selectedNames() const
{
    QStringList names;
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->isSelected())
            names << m_list->item(i)->text();
    }
    return names;
}

QString ServerConfigurationsWindow::current() const
{
    const QListWidgetItem* item = m_list->currentItem();
    return item ? item->text() : QString();
}

void ServerConfigurationsWindow::reload(const QString& selected)
{
    std::vector<std::string> names;
    enumerateServerConfigs(names);
    m_list->clear();
    m_list->addItems(sortedNames(names));
    select(selected);
    if (!m_list->currentItem() && m_list->count() > 0)
        m_list->setCurrentRow(0);
    applyEnabling();
}

void ServerConfigurationsWindow::applyEnabling()
{
    const bool chosen = m_list->currentItem() != nullptr;
    m_edit->setEnabled(chosen);
    m_delete->setEnabled(chosen);
    m_wizard->setEnabled(chosen);
}

void ServerConfigurationsWindow::edit(const std::string& name, const ServerConfig& config)
{
    const std::string itemName = toCore(m_itemName->text());
    const std::string itemSymbol = toCore(m_itemSymbol->text());
    ServerSettingsDialog dialog(config, name, itemName, itemSymbol, this);
    dialog.setTestDownload([this, &dialog, itemName, itemSymbol](const ServerConfig& tried) {
        startTestDownload(m_engine, dialogDownloadSink(&dialog, m_sink), tried, itemName, itemSymbol);
    });
    const bool accepted = Prompter::instance().exec(dialog) == QDialog::Accepted;
    // "Save configuration As..." may have written a copy even when the dialog is cancelled.
    QString shown = fromCore(name);
    if (accepted && dialog.configName() != strings::kUserDefinedServer) {
        if (!writeServerConfig(dialog.configName(), dialog.config()))
            reportUnsavedSettings(this);
        shown = fromCore(dialog.configName());
    }
    reload(shown);
}

void ServerConfigurationsWindow::newConfiguration()
{
    const NewConfiguration made = askNewConfiguration(this);
    if (made.name.empty())
        return;
    ServerConfig config = newItemServerConfig();
    config.name = made.name;
    config.maxChange = kNewConfigMaxChange;
    // The wizard stores the configuration when the user finishes it; cancelled, there is none.
    if (made.withWizard)
        wizard(config);
    else
        edit(made.name, config);
}

void ServerConfigurationsWindow::editConfiguration()
{
    const QString name = current();
    if (name.isEmpty())
        return;
    ServerConfig config;
    readServerConfig(toCore(name), config);
    config.name = toCore(name);
    edit(config.name, config);
}

void ServerConfigurationsWindow::deleteConfiguration()
{
    const QString name = current();
    if (name.isEmpty())
        return;
    const QString question = tr("Delete the server configuration \"%1\"?\nItems that use it then "
                                            "read the default settings.")
                                 .arg(name);
    if (Prompter::instance().ask(this, question) != Prompter::Yes)
        return;
    if (!deleteServerConfig(toCore(name)))
        reportUnsavedSettings(this);
    const int row = m_list->currentRow();
    reload({});
    m_list->setCurrentRow(std::min(row, m_list->count() - 1));
}

void ServerConfigurationsWindow::runWizard()
{
    const QString name = current();
    if (name.isEmpty())
        return;
    ServerConfig config;
    readServerConfig(toCore(name), config);
    config.name = toCore(name);
    wizard(config);
}

void ServerConfigurationsWindow::wizard(const ServerConfig& config)
{
    WizardSubject subject;
    subject.configName = config.name;
    subject.itemName = toCore(m_itemName->text());
    subject.itemSymbol = toCore(m_itemSymbol->text());
    subject.config = config;
    runServerWizard(this, m_engine, subject);
    reload(fromCore(config.name));
}

void ServerConfigurationsWindow::exportConfigurations()
{
    const QStringList selected = selectedNames();
    const QString path = Prompter::instance().saveFileName(this, tr("Export server configurations"),
                                                           selected.size() == 1 ? selected.front()
                                                                                : text(strings::kServerExportName),
                                                           text(strings::kRegistryFilter), QStringLiteral("reg"));
    if (path.isEmpty())
        return;
    // No selection: the whole store with the set version, as the main window's command.
    Result<void> result = Success{};
    if (selected.isEmpty()) {
        result = exportServerConfigs(toPath(path));
    } else {
        std::vector<std::string> names;
        for (const QString& name : selected)
            names.push_back(toCore(name));
        result = exportServerConfigs(toPath(path), names);
    }
    if (!result.ok())
        Prompter::instance().inform(this, fileMessage(path, fromCore(result.message())), Prompter::Icon::Warning);
}

void ServerConfigurationsWindow::importConfigurations()
{
    const QString path = Prompter::instance().openFileName(this, tr("Import server configurations"),
                                                           text(strings::kRegistryFilter));
    if (path.isEmpty())
        return;
    const Result<ServerConfigFile> file = readServerConfigsFile(toPath(path));
    if (!file.ok()) {
        Prompter::instance().inform(this, fileMessage(path, fromCore(file.message()) + tr(" Nothing was changed.")),
                                    Prompter::Icon::Warning);
        return;
    }
    const std::vector<ServerConfigChangeEntry> changes = serverConfigChanges(file->configs);
    if (!confirmImport(this, path, changes))
        return;
    if (!storeServerConfigs(file->configs, file->version))
        reportUnsavedSettings(this);
    const QString shown = file->configs.empty() ? current() : fromCore(file->configs.front().name);
    reload(shown);
    QStringList imported;
    for (const ServerConfigEntry& entry : file->configs)
        imported << fromCore(entry.name);
    selectOnly(imported);
}

void ServerConfigurationsWindow::addReadyMade()
{
    const QString added = chooseReadyMade(this);
    if (!added.isEmpty())
        reload(added);
}

QString ServerConfigurationsWindow::chooseReadyMade(QWidget* parent)
{
    const Result<std::vector<CatalogEntry>> catalog = readCatalog();
    if (!catalog) {
        Prompter::instance().inform(parent, fromCore(catalog.message()), Prompter::Icon::Warning);
        return {};
    }
    CatalogDialog dialog(*catalog, parent);
    if (Prompter::instance().exec(dialog) != QDialog::Accepted)
        return {};
    std::vector<const CatalogEntry*> chosen = dialog.chosen();
    if (chosen.empty())
        return {};
    QStringList stored;
    for (const CatalogEntry* entry : chosen) {
        if (serverConfigExists(entry->name))
            stored << fromCore(entry->name);
    }
    if (!stored.isEmpty()) {
        const QString question = tr("These server configurations are stored already:\n%1\n\nReplace "
                                                "them with the ready-made ones? (No adds only the others.)")
                                     .arg(stored.join(QLatin1Char('\n')));
        const Prompter::Answer answer = Prompter::instance().askYesNoCancel(parent, question);
        if (answer == Prompter::Cancel)
            return {};
        if (answer == Prompter::No)
            std::erase_if(chosen, [&](const CatalogEntry* entry) { return stored.contains(fromCore(entry->name)); });
    }
    if (chosen.empty())
        return {};
    const Result<void> added = addCatalogEntries(chosen, true);
    if (!added)
        reportUnsavedSettings(parent);
    return fromCore(chosen.front()->name);
}

} // namespace tarvelo
