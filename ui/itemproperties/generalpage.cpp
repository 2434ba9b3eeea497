#include "ui/itemproperties/generalpage.h"

#include "download/downloadengine.h"
#include "extraction/urltemplate.h"
#include "platform/localtime.h"
#include "resources/strings.h"
#include "servers/serverstore.h"
#include "ui/dialogdownloads.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"
#include "ui/serversettingsdialog.h"
#include "ui/serverwizard/serverwizard.h"
#include "ui/settingsfailure.h"
#include "ui/shell.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace tarvelo {

namespace {

// The memo is kept with the line ends of the portfolio file; the edits show plain ones.
QString memoForEdit(const std::string& memo)
{
    return fromCore(memo).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string memoFromEdit(const QString& text)
{
    QString memo = text;
    memo.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return toCore(memo);
}

// A memo edit that holds the memo to its bound (counted as the file stores it, each line
// end two characters): a paste or drop brings what fits, typing stops at the bound.
class MemoEdit : public QPlainTextEdit {
public:
    MemoEdit(const QString& text, QWidget* parent) : QPlainTextEdit(text, parent) {}

protected:
    void insertFromMimeData(const QMimeData* source) override
    {
        if (!source || !source->hasText())
            return QPlainTextEdit::insertFromMimeData(source);
        QString text = source->text();
        const qsizetype room = roomLeft();
        qsizetype take = 0;
        for (qsizetype stored = 0; take < text.size(); ++take) {
            stored += text.at(take) == QLatin1Char('\n') ? 2 : 1;
            if (stored > room)
                break;
        }
        if (take < text.size()) {
            text.truncate(take);
            QApplication::beep();
        }
        insertPlainText(text);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool adds = !event->text().isEmpty() && event->text().at(0).isPrint();
        const bool newLine = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if ((adds || newLine) && !textCursor().hasSelection() && roomLeft() < (newLine ? 2 : 1)) {
            QApplication::beep();
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
    }

private:
    qsizetype roomLeft() const
    {
        const QString text = toPlainText();
        const QString selected = textCursor().selectedText(); // its line ends are U+2029
        const qsizetype stored = text.size() + text.count(QLatin1Char('\n')) - selected.size()
                               - selected.count(QChar::ParagraphSeparator);
        return static_cast<qsizetype>(kMaxItemMemoLength) - stored;
    }
};

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QString userDefinedEntry()
{
    return QCoreApplication::translate("Servers", strings::kUserDefinedServer);
}

} // namespace

MemoDialog::MemoDialog(const QString& memo, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("memoDialog"));
    setWindowTitle(tr("Memo"));
    m_edit = new MemoEdit(memo, this);
    m_edit->setObjectName(QStringLiteral("memoDialogEdit"));
    const QFontMetrics metrics = m_edit->fontMetrics();
    m_edit->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('x')) * 70, metrics.lineSpacing() * 20);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->addButton(QDialogButtonBox::Help)->setObjectName(QStringLiteral("helpButton"));
    connect(buttons, &QDialogButtonBox::helpRequested, this, [] { openHelpPage(strings::kDialogHelpPage, "memo"); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
}

QString MemoDialog::memo() const
{
    return m_edit->toPlainText();
}

GeneralPage::GeneralPage(const ItemSettings& settings, DownloadEngine& engine, MessageSink& sink, QWidget* parent)
    : QWidget(parent), m_engine(engine), m_sink(sink), m_config(settings.server),
      m_configEntry(settings.server.name.empty() ? userDefinedEntry() : fromCore(settings.server.name))
{
    setObjectName(QStringLiteral("generalPage"));

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_name->setMaxLength(static_cast<int>(kMaxItemNameLength));
    m_name->setText(fromCore(settings.name));
    m_symbol = new QLineEdit(this);
    m_symbol->setObjectName(QStringLiteral("symbolEdit"));
    m_symbol->setMaxLength(static_cast<int>(kMaxItemNameLength));
    m_symbol->setText(fromCore(settings.symbol));
    m_memo = new MemoEdit(memoForEdit(settings.memo), this);
    m_memo->setObjectName(QStringLiteral("memoEdit"));
    m_memo->setTabChangesFocus(true);
    m_memo->setFixedHeight(m_memo->fontMetrics().lineSpacing() * 4 + 2 * m_memo->frameWidth() + 8);
    auto* memoButton = new QPushButton(this);
    memoButton->setObjectName(QStringLiteral("memoButton"));
    memoButton->setAutoDefault(false);
    memoButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    memoButton->setIconSize(QSize(16, 16));
    memoButton->setToolTip(tr("Memo"));

    auto* fields = new QGridLayout;
    auto addLabel = [&](const QString& caption, QWidget* buddy, int row) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(buddy);
        fields->addWidget(label, row, 0, Qt::AlignLeft | (buddy == m_memo ? Qt::AlignTop : Qt::AlignVCenter));
    };
    addLabel(tr("Name:"), m_name, 0);
    fields->addWidget(m_name, 0, 1, 1, 2);
    addLabel(tr("Symbol / Ticker / ISIN:"), m_symbol, 1);
    fields->addWidget(m_symbol, 1, 1, 1, 2);
    addLabel(tr("Memo:"), m_memo, 2);
    fields->addWidget(m_memo, 2, 1);
    fields->addWidget(memoButton, 2, 2, Qt::AlignTop);

    auto* group = new QGroupBox(tr("Quotation server configuration"), this);
    group->setObjectName(QStringLiteral("serverGroup"));
    m_servers = new QComboBox(group);
    m_servers->setObjectName(QStringLiteral("serverCombo"));
    m_servers->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_servers->setMinimumContentsLength(30);
    auto* wizard = makeButton(tr("Wizard"), "wizardButton", group);
    wizard->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    wizard->setIconSize(QSize(16, 16));
    auto* edit = makeButton(tr("Edit"), "editButton", group);
    auto* remove = makeButton(tr("Delete"), "deleteButton", group);
    auto* test = makeButton(tr("Test quotation update"), "testButton", group);
    auto* web = makeButton(tr("Open web page"), "webPageButton", group);

    auto* commands = new QHBoxLayout;
    commands->addWidget(wizard);
    commands->addWidget(edit);
    commands->addWidget(remove);
    commands->addStretch();
    auto* tries = new QHBoxLayout;
    tries->addWidget(test);
    tries->addWidget(web);
    tries->addStretch();
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_servers);
    groupLayout->addLayout(commands);
    groupLayout->addLayout(tries);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(group);
    layout->addStretch();

    fillList(m_configEntry);

    connect(m_name, &QLineEdit::textEdited, this, &GeneralPage::nameEdited);
    connect(m_servers, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            m_configEntry = m_servers->itemText(index);
    });
    connect(memoButton, &QPushButton::clicked, this, &GeneralPage::editMemo);
    connect(wizard, &QPushButton::clicked, this, &GeneralPage::runWizard);
    connect(edit, &QPushButton::clicked, this, &GeneralPage::editConfiguration);
    connect(remove, &QPushButton::clicked, this, &GeneralPage::deleteConfiguration);
    connect(test, &QPushButton::clicked, this, &GeneralPage::testDownload);
    connect(web, &QPushButton::clicked, this, &GeneralPage::openWebPage);
}

void GeneralPage::checkConfiguration()
{
    if (m_servers->findText(m_configEntry, Qt::MatchExactly) >= 0)
        return;
    QString message = tr("The server properties for the server '%s'\n do not exist in this computer!");
    message.replace(QStringLiteral("%s"), m_configEntry);
    Prompter::instance().inform(this, message, Prompter::Icon::Warning);
}

void GeneralPage::takeValues(ItemSettings& settings) const
{
    settings.name = itemName();
    settings.symbol = itemSymbol();
    settings.memo = memoFromEdit(m_memo->toPlainText());
    settings.server = m_config;
    const QString entry = m_servers->currentIndex() >= 0 ? chosenEntry() : m_configEntry;
    settings.server.name = entry == userDefinedEntry() ? std::string() : toCore(entry);
}

void GeneralPage::editMemo()
{
    MemoDialog dialog(m_memo->toPlainText(), this);
    if (Prompter::instance().exec(dialog) == QDialog::Accepted)
        m_memo->setPlainText(dialog.memo());
}

void GeneralPage::editConfiguration()
{
    const QString entry = chosenEntry();
    if (entry.isEmpty())
        return;
    const std::string name = itemName();
    const std::string symbol = itemSymbol();
    ServerSettingsDialog dialog(chosenConfig(), chosenConfigName(), name, symbol, this);
    dialog.setTestDownload([this, &dialog, name, symbol](const ServerConfig& tried) {
        startTestDownload(m_engine, dialogDownloadSink(&dialog, m_sink), tried, name, symbol);
    });
    const bool accepted = Prompter::instance().exec(dialog) == QDialog::Accepted;
    // "Save configuration As..." may have changed the name the values belong to.
    QString shown = entry;
    if (accepted) {
        if (dialog.configName() == strings::kUserDefinedServer) {
            const std::string ownName = m_config.name;
            m_config = dialog.config();
            m_config.name = ownName;
        } else {
            if (!writeServerConfig(dialog.configName(), dialog.config()))
                reportUnsavedSettings(this);
        }
        shown = dialog.configName() == strings::kUserDefinedServer ? userDefinedEntry()
                                                                    : fromCore(dialog.configName());
    }
    fillList(shown);
}

void GeneralPage::deleteConfiguration()
{
    const QString entry = chosenEntry();
    if (entry.isEmpty() || userDefinedChosen())
        return;
    if (!deleteServerConfig(toCore(entry)))
        reportUnsavedSettings(this);
    fillList(entry);
}

void GeneralPage::runWizard()
{
    const QString entry = chosenEntry();
    if (entry.isEmpty())
        return;
    WizardSubject subject;
    subject.configName = chosenConfigName();
    subject.itemName = itemName();
    subject.itemSymbol = itemSymbol();
    subject.config = chosenConfig();
    const std::optional<ServerConfig> built = runServerWizard(this, m_engine, subject);
    if (!built)
        return;
    // A named configuration is stored by the wizard; the item's own one is the page's.
    if (userDefinedChosen()) {
        const std::string ownName = m_config.name;
        m_config = *built;
        m_config.name = ownName;
    }
    fillList(entry);
    // The user reviews what the wizard built.
    editConfiguration();
}

void GeneralPage::testDownload()
{
    if (chosenEntry().isEmpty())
        return;
    startTestDownload(m_engine, dialogDownloadSink(this, m_sink), chosenConfig(), itemName(), itemSymbol());
}

void GeneralPage::openWebPage()
{
    if (chosenEntry().isEmpty())
        return;
    const std::string dated = expandDateVariables(chosenConfig().url, 0, currentTime());
    Shell::instance().open(expandItemVariables(dated, itemName(), itemSymbol()));
}

void GeneralPage::fillList(const QString& selected)
{
    std::vector<std::string> names;
    enumerateServerConfigs(names);
    QStringList entries{userDefinedEntry()};
    for (const std::string& name : names)
        entries << fromCore(name);
    sortNames(entries);
    const QSignalBlocker blocker(m_servers);
    m_servers->clear();
    m_servers->addItems(entries);
    m_servers->setCurrentIndex(m_servers->findText(selected, Qt::MatchExactly));
    if (m_servers->currentIndex() >= 0)
        m_configEntry = selected;
}

QString GeneralPage::chosenEntry() const
{
    return m_servers->currentIndex() >= 0 ? m_servers->currentText() : QString();
}

bool GeneralPage::userDefinedChosen() const
{
    return chosenEntry() == userDefinedEntry();
}

std::string GeneralPage::chosenConfigName() const
{
    // The list shows the item's own settings in the user's language; the settings dialog
    // and the wizard know them by the English entry.
    return userDefinedChosen() ? std::string(strings::kUserDefinedServer) : toCore(chosenEntry());
}

ServerConfig GeneralPage::chosenConfig() const
{
    if (userDefinedChosen())
        return m_config;
    ServerConfig config;
    config.name = toCore(chosenEntry());
    readServerConfig(config.name, config);
    return config;
}

void GeneralPage::restoreName(const QString& name)
{
    m_name->setText(name);
    m_name->setFocus();
    m_name->selectAll();
}

void GeneralPage::focusName()
{
    m_name->setFocus(Qt::OtherFocusReason);
}

std::string GeneralPage::itemName() const
{
    return toCore(m_name->text());
}

std::string GeneralPage::itemSymbol() const
{
    return toCore(m_symbol->text());
}

} // namespace tarvelo
