// The translation of the window: every text the user reads goes through the translation
// functions and is in the catalogs (translations/*.ts) with a finished translation that
// keeps the source's %N markers and its accelerator, and the program loads the German
// catalogs for a German user.
#include "download/downloadengine.h"
#include "download/messagesink.h"
#include "model/generaloptions.h"
#include "model/itemsettings.h"
#include "model/portfoliodocument.h"
#include "servers/catalog.h"
#include "ui/aboutdialog.h"
#include "ui/catalogdialog.h"
#include "ui/comparisonlimitsdialog.h"
#include "ui/connectionstatuswindow.h"
#include "ui/generaloptionsdialog.h"
#include "ui/helpviewer.h"
#include "ui/importdialog.h"
#include "ui/importlocationdialog.h"
#include "ui/itemproperties/generalpage.h"
#include "ui/itemproperties/investmentpage.h"
#include "ui/itemproperties/itempropertiesdialog.h"
#include "ui/itemproperties/quotationspage.h"
#include "ui/mainwindow.h"
#include "ui/manualquotationdialog.h"
#include "ui/serverconfigurationswindow.h"
#include "ui/serversettingsdialog.h"
#include "ui/serverwizard/serverwizard.h"
#include "ui/serverwizard/wizarddownloadpage.h"
#include "ui/serverwizard/wizardrulepage.h"
#include "ui/sourcehealthwatch.h"
#include "ui/sourcehealthwindow.h"
#include "ui/translations.h"

#include "tests/support/recordingshell.h"
#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTranslator>
#include <QXmlStreamReader>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <utility>

namespace tarvelo {
namespace {

using MessageKey = std::pair<QString, QString>; // context, source

// The finished messages of every catalog in translations/: (context, source) to the
// translation.
std::map<MessageKey, QString> readCatalogs()
{
    std::map<MessageKey, QString> messages;
    const QDir folder(QStringLiteral(TARVELO_TRANSLATIONS_SOURCE_DIR));
    const QStringList catalogs = folder.entryList({QStringLiteral("*.ts")}, QDir::Files);
    EXPECT_FALSE(catalogs.isEmpty()) << folder.path().toStdString();
    for (const QString& name : catalogs) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        QXmlStreamReader xml(&file);
        QString context;
        QString source;
        QString translation;
        bool finished = false;
        QString* text = nullptr; // the element whose characters are read
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                const auto element = xml.name();
                if (element == QLatin1String("name")) {
                    context.clear();
                    text = &context;
                } else if (element == QLatin1String("message")) {
                    source.clear();
                    translation.clear();
                    finished = true;
                } else if (element == QLatin1String("source")) {
                    text = &source;
                } else if (element == QLatin1String("translation")) {
                    finished = xml.attributes().value(QLatin1String("type")).isEmpty();
                    text = &translation;
                } else if (element == QLatin1String("byte") && text) {
                    // A character XML cannot hold, such as the carriage return.
                    text->append(QChar(xml.attributes().value(QLatin1String("value")).mid(1).toUInt(nullptr, 16)));
                }
            } else if (xml.isCharacters() && text) {
                text->append(xml.text());
            } else if (xml.isEndElement()) {
                const auto element = xml.name();
                if (element == QLatin1String("name") || element == QLatin1String("source")
                    || element == QLatin1String("translation"))
                    text = nullptr;
                else if (element == QLatin1String("message") && finished && !translation.isEmpty())
                    messages[{context, source}] = translation;
            }
        }
        EXPECT_FALSE(xml.hasError()) << name.toStdString() << ": " << xml.errorString().toStdString();
    }
    return messages;
}

// Hands back every text it is asked for between marks, and remembers what was asked.
class RecordingTranslator : public QTranslator {
public:
    static constexpr char16_t kOpen = u'\u27e6';
    static constexpr char16_t kClose = u'\u27e7';

    QString translate(const char* context, const char* source, const char* = nullptr, int = -1) const override
    {
        if (!source || !*source)
            return {};
        lookedUp.insert({QString::fromUtf8(context), QString::fromUtf8(source)});
        return QChar(kOpen) + QString::fromUtf8(source) + QChar(kClose);
    }
    bool isEmpty() const override { return false; }

    mutable std::set<MessageKey> lookedUp;
};

// The texts of a window that the user reads, each with where it was found.
class TextWalk {
public:
    void window(QWidget& top)
    {
        m_where = top.objectName().isEmpty() ? QString::fromLatin1(top.metaObject()->className()) : top.objectName();
        add(QStringLiteral("window title"), top.windowTitle().remove(QStringLiteral("[*]")));
        widget(top);
        for (QWidget* child : top.findChildren<QWidget*>())
            widget(*child);
    }

    std::vector<std::pair<QString, QString>> texts; // where, text

private:
    void add(const QString& what, const QString& text)
    {
        if (!text.isEmpty())
            texts.emplace_back(m_where + QStringLiteral(": ") + what, text);
    }

    void actions(const QWidget& owner)
    {
        for (const QAction* action : owner.actions()) {
            if (action->isSeparator())
                continue;
            add(QStringLiteral("action"), action->text());
            add(QStringLiteral("action status tip"), action->statusTip());
            add(QStringLiteral("action tool tip"), action->toolTip());
            if (action->menu())
                actions(*action->menu());
        }
    }

    void widget(QWidget& w)
    {
        const QString name = w.objectName();
        add(name + QStringLiteral(" tool tip"), w.toolTip());
        actions(w);
        if (auto* label = qobject_cast<QLabel*>(&w))
            add(name + QStringLiteral(" label"), label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(&w))
            add(name + QStringLiteral(" button"), button->text());
        if (auto* group = qobject_cast<QGroupBox*>(&w))
            add(name + QStringLiteral(" group"), group->title());
        if (auto* tabs = qobject_cast<QTabWidget*>(&w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                add(name + QStringLiteral(" tab"), tabs->tabText(i));
                widget(*tabs->widget(i));
            }
        }
        if (auto* view = qobject_cast<QAbstractItemView*>(&w); view && view->model()) {
            for (int section = 0; section < view->model()->columnCount(); ++section)
                add(name + QStringLiteral(" header"),
                    view->model()->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString());
        }
    }

    QString m_where;
};

bool hasLetters(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

// The %N markers of a text.
std::multiset<QString> markers(const QString& text)
{
    std::multiset<QString> found;
    static const QRegularExpression marker(QStringLiteral("%[1-9][0-9]?"));
    for (auto match = marker.globalMatch(text); match.hasNext();)
        found.insert(match.next().captured());
    return found;
}

// Whether the text marks a letter as its accelerator ("&File"; "&&" is an ampersand and
// "[&name]" one of the configuration's variables).
bool hasAccelerator(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        if ((i == 0 || text[i - 1] != QLatin1Char('[')) && text[i + 1].isLetterOrNumber())
            return true;
    }
    return false;
}

// The program's windows, one after the other: the main window with a portfolio of one
// item, then every dialog and window it opens.
class Windows {
public:
    Windows(DownloadEngine& engine, MessageQueue& sink) : m_engine(engine), m_sink(sink), m_health(m_doc, m_owner)
    {
        ItemSettings settings;
        settings.name = "ACME";
        settings.symbol = "AC";
        m_item = m_doc.addItem(settings);
        m_doc.insertQuotation(m_item, 12.5, 1700000000);
        m_ready.name = "Rates server";
        m_ready.importAddress = "https://rates.example/history.csv";
    }

    void visit(const std::function<void(QWidget&)>& look)
    {
        {
            MainWindow frame(m_doc, m_options, m_engine, false);
            frame.updateCommandStates();
            look(frame);
        }
        const WizardSubject subject{"Quotes server", "ACME", "AC", {}};
        const std::vector<std::function<std::unique_ptr<QDialog>()>> dialogs = {
            [] { return std::make_unique<AboutDialog>(); },
            [&] { return std::make_unique<CatalogDialog>(std::vector<CatalogEntry>{m_ready}); },
            [] { return std::make_unique<GeneralOptionsDialog>(GeneralOptions{}); },
            [&] { return std::make_unique<ServerConfigurationsWindow>(m_engine, m_sink); },
            [] { return std::make_unique<ServerSettingsDialog>(ServerConfig{}, "Quotes server", "ACME", "AC"); },
            [] { return std::make_unique<SaveConfigurationDialog>(std::vector<std::string>{"Quotes server"}); },
            [&] { return std::make_unique<WizardDownloadPage>(m_engine, subject); },
            [&] { return std::make_unique<WizardRulePage>(subject, WizardPageFiles{}, "http://q.example/"); },
            [] { return std::make_unique<BuyDialog>("ACME"); },
            [] { return std::make_unique<SellDialog>("ACME"); },
            [] { return std::make_unique<DividendDialog>("ACME"); },
            [] { return std::make_unique<MemoDialog>(QStringLiteral("note")); },
            [] { return std::make_unique<SplitDialog>("ACME", 1700000000); },
            [] { return std::make_unique<ManualQuotationDialog>("ACME", 1700000000); },
            [] { return std::make_unique<ComparisonLimitsDialog>(ComparisonSettings{}); },
            [] { return std::make_unique<ConnectionStatusWindow>(); },
            [&] { return std::make_unique<SourceHealthWindow>(m_doc, m_health, m_engine); },
            [&] { return std::make_unique<ImportDialog>(m_importState, m_doc, m_item, WorkerSettings{}, 1700000000); },
            [&] {
                return std::make_unique<ImportLocationDialog>(m_location, std::vector<std::string>{"http://q.example/"});
            },
            [&] {
                return std::make_unique<ItemPropertiesDialog>(m_doc, m_item, ItemPropertiesDialog::General, -1,
                                                              m_engine, m_sink);
            },
        };
        for (const auto& make : dialogs)
            look(*make());
        // The help viewer is made once for the program: made anew, it shows the texts of now.
        delete &HelpViewer::showPage(HelpViewer::homePage());
        HelpViewer& help = HelpViewer::showPage(HelpViewer::homePage());
        look(help);
        delete &help;
    }

private:
    DownloadEngine& m_engine;
    MessageQueue& m_sink;
    PortfolioDocument m_doc;
    GeneralOptions m_options;
    ItemKey m_item;
    QWidget m_owner;
    SourceHealthWatch m_health;
    ImportState m_importState;
    ImportLocation m_location;
    CatalogEntry m_ready;
};

// The letter that Alt and the letter reach in a text ("&Datei": 'd'), or none.
QChar mnemonic(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text[i + 1].toLower();
    }
    return {};
}

// The mnemonics one window offers at a time, each with the text it comes from; a clash is
// a letter that two texts share.
class MnemonicCheck {
public:
    explicit MnemonicCheck(QString where) : m_where(std::move(where)) {}

    void add(const QString& text)
    {
        const QChar letter = mnemonic(text);
        if (letter.isNull())
            return;
        const auto [at, added] = m_texts.emplace(letter, text);
        EXPECT_TRUE(added) << m_where.toStdString() << ": \"" << text.toStdString() << "\" and \""
                           << at->second.toStdString() << "\" share the mnemonic " << QString(letter).toStdString();
    }

    // The controls of a dialog shown as it opens.
    void controls(QWidget& top)
    {
        for (QWidget* child : top.findChildren<QWidget*>()) {
            if (!child->isVisibleTo(&top) || child->window() != &top)
                continue;
            if (auto* button = qobject_cast<QAbstractButton*>(child))
                add(button->text());
            else if (auto* label = qobject_cast<QLabel*>(child); label && label->buddy())
                add(label->text());
            else if (auto* group = qobject_cast<QGroupBox*>(child); group && group->isCheckable())
                add(group->title());
            else if (auto* tabs = qobject_cast<QTabWidget*>(child)) {
                for (int i = 0; i < tabs->count(); ++i)
                    add(tabs->tabText(i));
            }
        }
    }

private:
    QString m_where;
    std::map<QChar, QString> m_texts;
};

// Removes the translations installed while it lived.
struct InstalledTranslations {
    ~InstalledTranslations()
    {
        for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
};

class TranslationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prompter::install(&m_prompter);
        Shell::install(&m_shell);
    }
    void TearDown() override
    {
        Shell::install(nullptr);
        Prompter::install(nullptr);
    }

    test::ScriptedPrompter m_prompter;
    test::RecordingShell m_shell;
    DownloadEngine m_engine;
    MessageQueue m_sink;
};

TEST_F(TranslationTest, EveryWindowTextIsTranslatedFromTheCatalog)
{
    RecordingTranslator recorder;
    ASSERT_TRUE(QCoreApplication::installTranslator(&recorder));
    TextWalk walk;
    Windows(m_engine, m_sink).visit([&](QWidget& window) { walk.window(window); });

    // User data, names, dates and the titles of the (English) help pages the program shows
    // as they are.
    const QRegularExpression asItIs(QStringLiteral(
        R"(^(ACME|AC|Tarvelo|Tarvelo - Help|Quotes server|Rates server|note|http://q\.example/|.*mailto:tarvelo@example\.org.*)$|)"
        R"(^\w{3} \w{3} [ \d]\d \d\d:\d\d:\d\d \d{4}$)"));
    for (const auto& [where, text] : walk.texts) {
        if (!hasLetters(text) || asItIs.match(text).hasMatch())
            continue;
        EXPECT_TRUE(text.contains(QChar(RecordingTranslator::kOpen)))
            << where.toStdString() << " shows \"" << text.toStdString() << "\" without translating it";
    }
    EXPECT_GT(walk.texts.size(), 300u);

    // Everything looked up, apart from Qt's own texts, is a finished message of a catalog.
    const std::map<MessageKey, QString> catalog = readCatalogs();
    for (const auto& [context, source] : recorder.lookedUp) {
        if (context.startsWith(QLatin1Char('Q')))
            continue;
        EXPECT_TRUE(catalog.count({context, source}))
            << context.toStdString() << " \"" << source.toStdString() << "\" is not translated in the catalogs";
    }
    QCoreApplication::removeTranslator(&recorder);
}

TEST(TranslationCatalog, TranslationsKeepMarkersAndAccelerators)
{
    const std::map<MessageKey, QString> catalog = readCatalogs();
    EXPECT_GT(catalog.size(), 400u);
    for (const auto& [key, translation] : catalog) {
        const std::string message = key.first.toStdString() + " \"" + key.second.toStdString() + "\" -> \""
                                    + translation.toStdString() + "\"";
        EXPECT_EQ(markers(key.second), markers(translation)) << message;
        EXPECT_EQ(hasAccelerator(key.second), hasAccelerator(translation)) << message;
    }
}

TEST(TranslationLoading, GermanUsersGetTheGermanCatalogsEnglishUsersNone)
{
    const QStringList folders{QStringLiteral(TARVELO_TRANSLATIONS_BUILD_DIR)};
    EXPECT_EQ(installTranslations(*QCoreApplication::instance(), QLocale(QLocale::English, QLocale::UnitedStates),
                                  folders),
              0);
    EXPECT_EQ(QCoreApplication::translate("Commands", "&File"), QStringLiteral("&File"));

    const InstalledTranslations german;
    // LANGUAGE=de gives the system locale these languages.
    const int installed = installTranslations(*QCoreApplication::instance(), QLocale(QLocale::German), folders);
    EXPECT_GE(installed, 2); // the window's and the core's; Qt's where it is installed
    EXPECT_EQ(QCoreApplication::translate("Commands", "&File"), QStringLiteral("&Datei"));
    EXPECT_EQ(QCoreApplication::translate("Strings", "Save changes to %1?"), QStringLiteral("Änderungen an %1 speichern?"));
}

TEST_F(TranslationTest, GermanMnemonicsDoNotClashWithinAMenuOrADialog)
{
    const InstalledTranslations german;
    ASSERT_GE(installTranslations(*QCoreApplication::instance(), QLocale(QLocale::German),
                                  {QStringLiteral(TARVELO_TRANSLATIONS_BUILD_DIR)}),
              1);
    int menus = 0;
    Windows(m_engine, m_sink).visit([&](QWidget& window) {
        std::vector<QWidget*> bars;
        for (QMenuBar* bar : window.findChildren<QMenuBar*>())
            bars.push_back(bar);
        for (QMenu* menu : window.findChildren<QMenu*>())
            bars.push_back(menu);
        for (QWidget* bar : bars) {
            auto* menu = qobject_cast<QMenu*>(bar);
            MnemonicCheck check(window.objectName() + QStringLiteral(" menu ") + (menu ? menu->title() : QString()));
            for (const QAction* action : bar->actions()) {
                if (!action->isSeparator() && action->isVisible())
                    check.add(action->text());
            }
            ++menus;
        }
        if (auto* sheet = window.findChild<QTabWidget*>(); sheet && qobject_cast<QDialog*>(&window)) {
            for (int page = 0; page < sheet->count(); ++page) {
                sheet->setCurrentIndex(page);
                MnemonicCheck(window.objectName() + QStringLiteral(" page ") + sheet->tabText(page)).controls(window);
            }
        } else {
            MnemonicCheck(window.objectName()).controls(window);
        }
    });
    EXPECT_GE(menus, 8);
    EXPECT_EQ(QCoreApplication::translate("Commands", "&File"), QStringLiteral("&Datei"));
}

} // namespace
} // namespace tarvelo
