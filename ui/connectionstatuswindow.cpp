#include "ui/connectionstatuswindow.h"

#include "download/statustext.h"
#include "model/profilesettings.h"
#include "platform/profile.h"
#include "ui/qtexts.h"
#include "resources/strings.h"
#include "ui/shell.h"
#include "ui/stateicons.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstdio>

namespace tarvelo {

namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kIconRole = Qt::UserRole + 1;
constexpr int kHeldBackRole = Qt::UserRole + 2; // the row's value was held back and can be accepted
constexpr std::array<int, 3> kDefaultWidths = {84, 134, 148};

} // namespace

ConnectionStatusWindow::ConnectionStatusWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("connectionStatusDialog"));
    setWindowTitle(tr("Connections"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("connectionList"));
    m_list->setColumnCount(3);
    m_list->setHeaderLabels({tr("Thread"), tr("Item"), tr("Status")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setSectionsClickable(false);
    m_list->setIconSize(QSize(16, 16));
    // The right mouse button, or the menu key, on a row whose value was held back.
    m_acceptValue = new QAction(tr("Accept value"), this);
    m_acceptValue->setObjectName(QStringLiteral("acceptValueAction"));
    connect(m_acceptValue, &QAction::triggered, this, [this] {
        if (const QTreeWidgetItem* row = m_list->currentItem(); row && row->data(0, kHeldBackRole).toBool())
            emit acceptRequested(ItemKey{row->data(0, kKeyRole).toULongLong()});
    });
    m_rowMenu = new QMenu(this);
    m_rowMenu->setObjectName(QStringLiteral("connectionRowMenu"));
    m_rowMenu->addAction(m_acceptValue);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QTreeWidgetItem* row = m_list->itemAt(at);
        if (row)
            m_list->setCurrentItem(row);
        else
            row = m_list->currentItem();
        if (row && row->data(0, kHeldBackRole).toBool())
            m_rowMenu->popup(m_list->viewport()->mapToGlobal(at));
    });

    m_hide = new QPushButton(tr("&Hide"), this);
    m_hide->setObjectName(QStringLiteral("hideButton"));
    m_hide->setDefault(true);
    m_abort = new QPushButton(tr("Download &Abort"), this);
    m_abort->setObjectName(QStringLiteral("abortButton"));
    m_abort->setEnabled(false);
    auto* help = new QPushButton(tr("Help"), this);
    help->setObjectName(QStringLiteral("helpButton"));
    connect(help, &QPushButton::clicked, this, [] { openHelpPage(strings::kDialogHelpPage, "connection-status"); });
    connect(m_hide, &QPushButton::clicked, this, &QDialog::hide);
    connect(m_abort, &QPushButton::clicked, this, &ConnectionStatusWindow::abortRequested);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_hide);
    buttons->addWidget(m_abort);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(420, 260);

    loadColumnWidths();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

QTreeWidgetItem* ConnectionStatusWindow::rowOf(ItemKey item) const
{
    const auto found = m_rows.find(item.key);
    return found == m_rows.end() ? nullptr : found->second;
}

void ConnectionStatusWindow::handleMessage(DownloadMessage& m)
{
    QTreeWidgetItem* row = rowOf(m.itemKey);
    const auto setState = [&](int icon) {
        if (!row)
            return;
        const QString status = fromCore(connectionStatusText(m));
        row->setText(2, status);
        // A long status is cut to the column; the tool tip reads it whole.
        for (int column = 0; column < m_list->columnCount(); ++column)
            row->setToolTip(column, status);
        if (row->data(0, kIconRole).toInt() != icon) {
            QIcon& shown = m_stateIcons.at(static_cast<std::size_t>(icon));
            if (shown.isNull())
                shown = connectionStateIcon(icon);
            row->setIcon(0, shown);
            row->setData(0, kIconRole, icon);
        }
    };
    switch (m.code) {
    case DownloadCode::Initialized:
        delete row;
        row = new QTreeWidgetItem(m_list);
        m_rows[m.itemKey.key] = row;
        row->setText(0, QString::number(m.worker));
        row->setText(1, fromCore(m.itemName));
        row->setData(0, kKeyRole, QVariant::fromValue<qulonglong>(m.itemKey.key));
        row->setData(0, kIconRole, -1);
        setState(0);
        break;
    case DownloadCode::Connecting:
        setState(1);
        break;
    case DownloadCode::Connected:
        setState(2);
        break;
    case DownloadCode::Progress:
        setState(3);
        break;
    case DownloadCode::Done:
        if (!m.fallbackName.empty()) {
            setState(2); // a fallback found it: the row says which
            break;
        }
        delete row;
        m_rows.erase(m.itemKey.key);
        if (m_list->topLevelItemCount() == 0 && m_downloadStatus)
            hide();
        break;
    case DownloadCode::NotFound:
    case DownloadCode::InvalidValue:
    case DownloadCode::TextNotFound: {
        setState(4);
        // The page in which the quotation was not found: shown when the user wants it.
        const std::string shown = settleUnmatchedPage(m, m_showFileOnError && !m_unattended);
        // A page no program could show (the shell has said where it was) is not left
        // behind in the temporary folder.
        if (!shown.empty() && !Shell::instance().openFile(shown))
            std::remove(shown.c_str());
        m.convertedFile.clear();
        break;
    }
    case DownloadCode::Implausible:
        setState(4);
        if (row)
            row->setData(0, kHeldBackRole, true);
        break;
    default: // errors and aborts
        setState(4);
        break;
    }
}

bool ConnectionStatusWindow::offersAccept(ItemKey item) const
{
    const QTreeWidgetItem* row = rowOf(item);
    return row && row->data(0, kHeldBackRole).toBool();
}

void ConnectionStatusWindow::removeRow(ItemKey item)
{
    delete rowOf(item);
    m_rows.erase(item.key);
}

void ConnectionStatusWindow::removeAllRows()
{
    m_list->clear();
    m_rows.clear();
}

void ConnectionStatusWindow::setTitleFor(const std::string& portfolioTitle, bool aborting)
{
    setWindowTitle(QStringLiteral("[%1] - %2")
                       .arg(fromCore(portfolioTitle),
                            aborting ? tr("Abort connections...") : tr("Connections")));
}

void ConnectionStatusWindow::setAbortEnabled(bool enabled)
{
    m_abort->setEnabled(enabled);
}

void ConnectionStatusWindow::loadColumnWidths()
{
    const std::string stored = settings::kConnectionColumnWidths.read(Profile());
    std::array<int, 3> widths = kDefaultWidths;
    // Fewer than three numbers, or ones that are not numbers, leave those columns at
    // their default widths.
    const QStringList tokens = QString::fromStdString(stored).split(u',');
    for (int i = 0; i < 3 && i < tokens.size(); ++i) {
        bool ok = false;
        const int width = tokens[i].trimmed().toInt(&ok);
        if (ok && width > 0)
            widths[static_cast<std::size_t>(i)] = width;
    }
    for (int i = 0; i < 3; ++i)
        m_list->setColumnWidth(i, widths[static_cast<std::size_t>(i)]);
}

std::array<int, 3> ConnectionStatusWindow::columnWidths() const
{
    return {m_list->columnWidth(0), m_list->columnWidth(1), m_list->columnWidth(2)};
}

void ConnectionStatusWindow::saveColumnWidths() const
{
    const auto widths = columnWidths();
    Profile profile;
    settings::kConnectionColumnWidths.write(
        profile, std::to_string(widths[0]) + "," + std::to_string(widths[1]) + "," + std::to_string(widths[2]));
}

QString ConnectionStatusWindow::statusOf(ItemKey item) const
{
    const QTreeWidgetItem* row = rowOf(item);
    return row ? row->text(2) : QString();
}

int ConnectionStatusWindow::rowCount() const
{
    return m_list->topLevelItemCount();
}

} // namespace tarvelo
