// The main window as a dark desktop theme on a screen of scale factor 2 shows it: the
// Fusion style with a dark palette, every widget at device pixel ratio 2. A process of
// its own, since the scale factor is fixed when the application starts. Also the
// accessible names that screen readers read from the list and the status bar.
#include "download/downloadengine.h"
#include "model/generaloptions.h"
#include "model/portfoliodocument.h"
#include "platform/profile.h"
#include "ui/mainwindow.h"
#include "ui/portfoliolistmodel.h"
#include "ui/portfoliolistview.h"
#include "ui/prompter.h"
#include "ui/shell.h"

#include "tests/support/darkpalette.h"
#include "tests/support/hermeticenvironment.h"
#include "tests/support/recordingshell.h"
#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QStatusBar>
#include <QStyleFactory>
#include <QTest>
#include <QToolBar>

#include <cstdlib>
#include <memory>

namespace tarvelo {
namespace {

constexpr std::int32_t kDay = 86400;
constexpr std::int32_t kStart = 1'780'000'000;

// Pixels that stand out from the colour behind them: opaque enough and clearly lighter
// or darker.
int inkPixels(const QImage& image, const QColor& behind)
{
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > 128 && std::abs(c.lightness() - behind.lightness()) > 60)
                ++ink;
        }
    }
    return ink;
}

int differingPixels(const QImage& a, const QImage& b, int tolerance)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            if (std::abs(p.red() - q.red()) > tolerance || std::abs(p.green() - q.green()) > tolerance
                || std::abs(p.blue() - q.blue()) > tolerance || std::abs(p.alpha() - q.alpha()) > tolerance)
                ++differing;
        }
    }
    return differing;
}

class DarkScaledWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* section : {"Dimensions", "Columns", "SortColumn", "SortReverse", "ProcentualValue"})
            Profile().deleteKey(section);
        Prompter::install(&m_prompter);
        Shell::install(&m_shell);
        // Sorted by name: Falling, Flat, Rising.
        addItem("Rising", 10, 12, false);
        addItem("Falling", 10, 8, true);
        addItem("Flat", 10, 10, false);
    }
    void TearDown() override
    {
        m_frame.reset();
        Prompter::install(nullptr);
        Shell::install(nullptr);
    }
    void addItem(const char* name, double first, double last, bool alarm)
    {
        ItemSettings settings;
        settings.name = name;
        settings.aboveAlarm = alarm;
        settings.aboveLimit = 5;
        const ItemKey item = m_doc.addItem(settings);
        m_doc.insertQuotations(item, std::vector<Quotation>{{kStart, first}, {kStart + kDay, last}});
    }
    MainWindow& window()
    {
        m_frame = std::make_unique<MainWindow>(m_doc, m_options, m_engine, false);
        m_frame->setClock([] { return kStart + 2 * kDay; });
        m_frame->resize(900, 600);
        m_frame->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_frame.get()));
        return *m_frame;
    }

    test::ScriptedPrompter m_prompter;
    test::RecordingShell m_shell;
    PortfolioDocument m_doc;
    GeneralOptions m_options;
    DownloadEngine m_engine;
    std::unique_ptr<MainWindow> m_frame;
};

TEST_F(DarkScaledWindowTest, IconsAreDrawnAtFullResolutionAndStandOutOnTheDarkPalette)
{
    ASSERT_DOUBLE_EQ(qApp->devicePixelRatio(), 2.0);
    MainWindow& frame = window();
    PortfolioListView& list = *frame.listView();
    const QColor base = list.palette().color(QPalette::Base);
    ASSERT_LT(base.lightness(), 60);

    const QImage shown = list.viewport()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_DOUBLE_EQ(shown.devicePixelRatio(), 2.0);
    EXPECT_EQ(shown.width(), 2 * list.viewport()->width());
    if (const char* folder = std::getenv("TARVELO_SCREENSHOTS"))
        frame.grab().save(QString::fromUtf8(folder) + QStringLiteral("/mainframe-dark-scale2.png"));

    const QAbstractItemModel& model = *list.model();
    ASSERT_EQ(model.rowCount(), 3);
    list.selectionModel()->clear(); // the grab above shows a selected row; compare plain rows only
    const QImage plain = list.viewport()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(model.index(row, 0).data().toString().toStdString());
        const QIcon icon = qvariant_cast<QIcon>(model.index(row, 0).data(Qt::DecorationRole));
        // The icon's own picture at ratio 2: twice the pixels, drawn anew rather than a
        // small one enlarged.
        const QPixmap sharp = icon.pixmap(QSize(16, 16), 2.0);
        ASSERT_EQ(sharp.size(), QSize(32, 32));
        EXPECT_DOUBLE_EQ(sharp.devicePixelRatio(), 2.0);
        const QImage small = icon.pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage large = sharp.toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_GT(differingPixels(large, small.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::FastTransformation), 40), 30);
        EXPECT_GT(differingPixels(large, small.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 40),
                  30);

        // The list shows exactly that picture, on its dark background, where it stands out.
        const QRect cell = list.visualRect(model.index(row, 0));
        const QRect at(2 * cell.left(), 2 * (cell.top() + (cell.height() - 16) / 2), 32, 32);
        const QImage drawn = plain.copy(at);
        QImage expected(32, 32, QImage::Format_ARGB32);
        expected.fill(base);
        {
            QImage pixels = large;
            pixels.setDevicePixelRatio(1);
            QPainter p(&expected);
            p.drawImage(0, 0, pixels);
        }
        EXPECT_LE(differingPixels(drawn, expected, 8), 4);
        EXPECT_GT(inkPixels(drawn, base), 150);
    }
    // The arrows keep their colours: red down for the falling item (with the yellow alarm
    // mark), green up for the rising one.
    auto count = [&](int row, auto test) {
        const QRect cell = list.visualRect(model.index(row, 0));
        const QImage drawn = plain.copy(2 * cell.left(), 2 * (cell.top() + (cell.height() - 16) / 2), 32, 32);
        int n = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                n += test(drawn.pixelColor(x, y)) ? 1 : 0;
        return n;
    };
    auto red = [](const QColor& c) { return c.red() > 150 && c.green() < 80 && c.blue() < 80; };
    auto green = [](const QColor& c) { return c.green() > 120 && c.red() < 80 && c.blue() < 80; };
    auto yellow = [](const QColor& c) { return c.red() > 200 && c.green() > 170 && c.blue() < 60; };
    EXPECT_GT(count(0, red), 80);
    EXPECT_GT(count(0, yellow), 15);
    EXPECT_EQ(count(2, red), 0);
    EXPECT_GT(count(2, green), 80);
    EXPECT_EQ(count(2, yellow), 0);

    // Every toolbar picture is drawn at the ratio too and stands out from the dark window.
    const QColor window = frame.palette().color(QPalette::Window);
    const auto toolbars = frame.findChildren<QToolBar*>();
    ASSERT_FALSE(toolbars.isEmpty());
    int icons = 0;
    for (QAction* action : toolbars.front()->actions()) {
        if (action->icon().isNull())
            continue;
        SCOPED_TRACE(action->text().toStdString());
        const QSize size = toolbars.front()->iconSize();
        const QPixmap pixmap = action->icon().pixmap(size, 2.0);
        EXPECT_EQ(pixmap.size(), size * 2);
        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_GT(inkPixels(image, window), image.width() * image.height() / 20);
        ++icons;
    }
    EXPECT_GE(icons, 10);
}

TEST_F(DarkScaledWindowTest, ListAndStatusPanesHaveAccessibleNames)
{
    MainWindow& frame = window();
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(frame.listView());
    ASSERT_NE(view, nullptr);
    QAccessibleTableInterface* table = view->tableInterface();
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), 3);

    // The columns carry their written-out names; the abbreviated headers stay as shown.
    QStringList headers;
    for (int i = 0; i < view->childCount(); ++i) {
        QAccessibleInterface* child = view->child(i);
        if (child && child->role() == QAccessible::ColumnHeader)
            headers << child->text(QAccessible::Name);
    }
    ASSERT_EQ(headers.size(), kListColumns);
    EXPECT_EQ(headers.at(0), "Item");
    EXPECT_EQ(headers.at(5), "Change since the last day");
    EXPECT_EQ(headers.at(7), "Change in total");
    EXPECT_EQ(frame.listView()->header()->model()->headerData(5, Qt::Horizontal).toString(), "+- Last Day");

    // A row's first cell names the item and says what its icon shows.
    QAccessibleInterface* falling = table->cellAt(0, 0);
    ASSERT_NE(falling, nullptr);
    EXPECT_EQ(falling->text(QAccessible::Name), "Falling");
    EXPECT_EQ(falling->text(QAccessible::Description), "Down since the last day, an alarm holds");
    QAccessibleInterface* rising = table->cellAt(2, 0);
    ASSERT_NE(rising, nullptr);
    EXPECT_EQ(rising->text(QAccessible::Description), "Up since the last day");
    EXPECT_EQ(table->cellAt(1, 0)->text(QAccessible::Description), "Unchanged since the last day");
    // Cells of the other columns read as shown.
    EXPECT_EQ(table->cellAt(2, 2)->text(QAccessible::Name), frame.listView()->model()->index(2, 2).data().toString());

    // The status bar's panes: a name each, the pane's text as description.
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(frame.statusBar());
    ASSERT_NE(bar, nullptr);
    QMap<QString, QString> panes;
    for (int i = 0; i < bar->childCount(); ++i) {
        if (QAccessibleInterface* pane = bar->child(i))
            panes.insert(pane->text(QAccessible::Name), pane->text(QAccessible::Description));
    }
    ASSERT_TRUE(panes.contains("Portfolio totals"));
    EXPECT_TRUE(panes.value("Portfolio totals").startsWith("Amount invested:"));
    ASSERT_TRUE(panes.contains("Clock"));
    EXPECT_FALSE(panes.value("Clock").isEmpty());
    EXPECT_TRUE(panes.contains("Running updates"));
}

} // namespace
} // namespace tarvelo

int main(int argc, char** argv)
{
    const tarvelo::test::HermeticEnvironment environment;
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    const QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(tarvelo::test::darkPalette());
    return environment.finish(RUN_ALL_TESTS());
}
