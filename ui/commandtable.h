#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

#include <functional>
#include <map>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace tarvelo {

// The commands of a window, one row each, and everything built from them: an action
// per command (with its icon, keys and tips), the menus, the toolbar and a context
// menu. The rows also say when a command is enabled or checked; updateStates() applies
// that to every action at once.
class CommandTable : public QObject {
    Q_OBJECT
public:
    struct Command {
        Command(int id, const char* text, const char* tip, QList<QKeySequence> keys = {},
                std::function<void()> handler = {}, std::function<bool()> enabledWhen = {},
                std::function<bool()> checkedWhen = {});

        int id; // commands::k...
        const char* text;
        const char* tip; // the status bar prompt
        QList<QKeySequence> keys;
        // Without a handler the command's window is not part of the program yet: it
        // stays disabled.
        std::function<void()> handler;
        // Without a condition the command is always enabled.
        std::function<bool()> enabledWhen;
        // With a condition the command is a check box.
        std::function<bool()> checkedWhen;
    };

    // A row of a menu or the toolbar: a command, a separator (kSeparator), a submenu or an
    // action that the window made itself.
    static constexpr int kSeparator = 0;
    struct Row {
        Row(int command) : command(command) {}
        Row(QMenu* submenu) : submenu(submenu) {}
        Row(QAction* action) : action(action) {}
        int command = kSeparator;
        QMenu* submenu = nullptr;
        QAction* action = nullptr;
    };
    struct Menu {
        const char* title;
        std::vector<Row> rows;
    };
    // A context menu entry: the command under a text of its own.
    struct ContextEntry {
        int command;
        const char* text;
    };

    // The actions belong to the window, so their keys work while the menu bar is hidden.
    CommandTable(QWidget& window, std::vector<Command> commands);

    QAction* action(int command) const;

    // Each menu runs beforeShowing as it opens, so its entries show the current state.
    void fillMenuBar(QMenuBar& bar, const std::vector<Menu>& menus, const std::function<void()>& beforeShowing);
    void fillToolBar(QToolBar& bar, const std::vector<Row>& rows);
    // A menu whose entries trigger the commands and follow their enabled state.
    QMenu* makeContextMenu(const std::vector<ContextEntry>& entries);

    void updateStates() const;

private:
    void addRows(QWidget& menuOrBar, const std::vector<Row>& rows) const;

    QWidget& m_window;
    std::vector<Command> m_commands;
    std::map<int, QAction*> m_actions;
};

} // namespace tarvelo
