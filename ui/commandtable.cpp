#include "ui/commandtable.h"

#include "ui/appicons.h"
#include "ui/qtexts.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace tarvelo {

namespace {

// The table's texts are marked with QT_TRANSLATE_NOOP("Commands", ...) where the table is
// written, and shown in the user's language.
QString commandText(const char* source)
{
    return QCoreApplication::translate("Commands", source);
}

} // namespace

CommandTable::Command::Command(int id, const char* text, const char* tip, QList<QKeySequence> keys,
                               std::function<void()> handler, std::function<bool()> enabledWhen,
                               std::function<bool()> checkedWhen)
    : id(id), text(text), tip(tip), keys(std::move(keys)), handler(std::move(handler)),
      enabledWhen(std::move(enabledWhen)), checkedWhen(std::move(checkedWhen))
{
}

CommandTable::CommandTable(QWidget& window, std::vector<Command> commands)
    : QObject(&window), m_window(window), m_commands(std::move(commands))
{
    for (const Command& command : m_commands) {
        const QString label = commandText(command.text);
        auto* action = new QAction(label, &m_window);
        action->setObjectName(QStringLiteral("command%1").arg(command.id));
        action->setData(command.id);
        action->setStatusTip(commandText(command.tip));
        QString tip = label;
        tip.remove(QLatin1Char('&'));
        if (tip.endsWith(QStringLiteral("...")))
            tip.chop(3);
        action->setToolTip(tip);
        if (!command.keys.isEmpty())
            action->setShortcuts(command.keys);
        const QIcon icon = commandIcon(command.id);
        if (!icon.isNull())
            action->setIcon(icon);
        action->setCheckable(static_cast<bool>(command.checkedWhen));
        if (command.handler)
            connect(action, &QAction::triggered, this, [handler = command.handler] { handler(); });
        else
            action->setEnabled(false);
        m_actions[command.id] = action;
        m_window.addAction(action);
    }
}

QAction* CommandTable::action(int command) const
{
    const auto found = m_actions.find(command);
    return found == m_actions.end() ? nullptr : found->second;
}

void CommandTable::addRows(QWidget& menuOrBar, const std::vector<Row>& rows) const
{
    for (const Row& row : rows) {
        if (row.submenu) {
            menuOrBar.addAction(row.submenu->menuAction());
        } else if (row.action) {
            menuOrBar.addAction(row.action);
        } else if (row.command == kSeparator) {
            auto* separator = new QAction(&menuOrBar);
            separator->setSeparator(true);
            menuOrBar.addAction(separator);
        } else {
            menuOrBar.addAction(action(row.command));
        }
    }
}

void CommandTable::fillMenuBar(QMenuBar& bar, const std::vector<Menu>& menus,
                               const std::function<void()>& beforeShowing)
{
    for (const Menu& layout : menus) {
        QMenu* menu = bar.addMenu(commandText(layout.title));
        addRows(*menu, layout.rows);
        connect(menu, &QMenu::aboutToShow, this, beforeShowing);
    }
}

void CommandTable::fillToolBar(QToolBar& bar, const std::vector<Row>& rows)
{
    addRows(bar, rows);
}

QMenu* CommandTable::makeContextMenu(const std::vector<ContextEntry>& entries)
{
    auto* menu = new QMenu(&m_window);
    for (const auto& [command, label] : entries) {
        QAction* shared = action(command);
        QAction* entry = menu->addAction(commandText(label));
        entry->setData(command);
        entry->setStatusTip(shared->statusTip());
        connect(entry, &QAction::triggered, shared, &QAction::trigger);
        connect(shared, &QAction::enabledChanged, entry, &QAction::setEnabled);
        entry->setEnabled(shared->isEnabled());
    }
    return menu;
}

void CommandTable::updateStates() const
{
    for (const Command& command : m_commands) {
        QAction* shown = action(command.id);
        if (command.enabledWhen)
            shown->setEnabled(command.enabledWhen());
        if (command.checkedWhen)
            shown->setChecked(command.checkedWhen());
    }
}

} // namespace tarvelo
