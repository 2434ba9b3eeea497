#include "ui/chartview.h"

#include "charts/chartlayout.h"

#include "download/downloadengine.h"
#include "platform/profile.h"
#include "resources/commandids.h"
#include "ui/itemproperties/itempropertiesdialog.h"
#include "ui/itemproperties/quotationspage.h"
#include "ui/mainwindow.h"
#include "ui/portfoliolistview.h"

#include "tests/support/scopedtimezone.h"
#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QListView>
#include <QMenu>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPalette>
#include <QStatusBar>
#include <QTabWidget>

#include <clocale>

namespace tarvelo {
namespace {

using namespace commands;

constexpr std::uint32_t kRed = 0x0000FF; // 0x00BBGGRR
constexpr std::uint32_t kBlue = 0xFF0000;

// Pixels mostly of the curve colour (anti-aliased, so blended with the white around).
int pixelsOf(const QImage& image, std::uint32_t colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int main = colour == kRed ? c.red() : c.blue();
            const int other = colour == kRed ? c.blue() : c.red();
            count += main - c.green() > 60 && main - other > 60 ? 1 : 0;
        }
    }
    return count;
}

// The regions of the paint events a widget receives.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion painted;
};

class ChartViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::setlocale(LC_ALL, "C");
        for (const char* section : {"Dimensions", "GraphView"})
            Profile().deleteKey(section);
        Prompter::install(&m_prompter);
        m_red = addItem("Alpha", kRed, 0, 20);
        m_blue = addItem("Beta", kBlue, 5, 20);
    }
    void TearDown() override
    {
        m_frame.reset();
        Prompter::install(nullptr);
    }
    // An item with `count` daily quotations from `firstDay` on, rising and falling.
    ItemKey addItem(const char* name, std::uint32_t colour, int firstDay, int count)
    {
        ItemSettings settings;
        settings.name = name;
        settings.chart.lineColour = colour;
        settings.chart.showGrid = false;
        const ItemKey key = m_doc.addItem(settings);
        const double swing = colour == kRed ? 1.0 : 2.0;
        for (int day = 0; day < count; ++day)
            m_doc.insertQuotation(key, 10.0 + (day % 7) * swing, day0() + (firstDay + day) * 86400);
        return key;
    }
    static std::int32_t day0() { return makeLocalTime(2024, 3, 1, 12, 0, 0); }
    MainWindow& window()
    {
        m_frame.reset();
        m_frame = std::make_unique<MainWindow>(m_doc, m_options, m_engine, false);
        m_frame->resize(780, 560);
        m_frame->show();
        QApplication::processEvents();
        return *m_frame;
    }
    ChartView& chart() { return *m_frame->findChild<ChartView*>(); }
    PortfolioListView& list() { return *m_frame->listView(); }
    // Selects the rows of these items only (the first becomes current).
    void select(std::initializer_list<ItemKey> items)
    {
        list().placeChangedRows(); // which would select the current row again
        list().clearSelection();
        for (int i = 0; i < list().model()->rowCount(); ++i) {
            const QModelIndex row = list().model()->index(i, 0);
            const ItemKey key{row.data(Qt::UserRole).toULongLong()};
            if (std::find(items.begin(), items.end(), key) != items.end())
                list().selectionModel()->select(row, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        QApplication::processEvents();
    }
    void moveTo(QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, at, chart().mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&chart(), &move);
    }
    QPoint pointAt(std::size_t index)
    {
        return {chart().historyChart().points.at(index).x, chart().historyChart().points.at(index).y};
    }
    QString statusMessage() const { return m_frame->statusBar()->currentMessage(); }
    void press(Qt::Key key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&chart(), &event);
    }

    test::ScopedTimeZone m_zone{"UTC"};
    test::ScriptedPrompter m_prompter;
    PortfolioDocument m_doc;
    GeneralOptions m_options;
    DownloadEngine m_engine;
    std::unique_ptr<MainWindow> m_frame;
    ItemKey m_red;
    ItemKey m_blue;
};

TEST_F(ChartViewTest, FollowsTheSelectionWithHistoryComparisonOrNothing)
{
    window();
    select({m_red});
    ASSERT_EQ(chart().kind(), ChartView::Kind::History);
    EXPECT_GT(pixelsOf(chart().chartImage(), kRed), 100);
    EXPECT_EQ(pixelsOf(chart().chartImage(), kBlue), 0);
    EXPECT_EQ(statusMessage(), "Ready");

    // Compare all marks both rows; the chart follows without being told.
    m_frame->action(kCompareAll)->trigger();
    ASSERT_EQ(chart().kind(), ChartView::Kind::Comparison);
    const QImage both = chart().chartImage();
    EXPECT_GT(pixelsOf(both, kRed), 100);
    EXPECT_GT(pixelsOf(both, kBlue), 100);
    // A new quotation of a charted item is drawn.
    m_doc.insertQuotation(m_blue, 40.0, day0() + 30 * 86400);
    EXPECT_NE(chart().chartImage(), both);

    select({});
    EXPECT_EQ(chart().kind(), ChartView::Kind::Empty);
    QImage white = chart().chartImage();
    white.fill(Qt::white);
    EXPECT_EQ(chart().chartImage(), white);

    // At twice the pixel ratio: twice the pixels, the same layout.
    select({m_red});
    const QImage single = chart().drawChart(1.0);
    const int lastX = chart().historyChart().points.back().x;
    const QImage sharp = chart().drawChart(2.0);
    EXPECT_EQ(sharp.size(), single.size() * 2);
    EXPECT_EQ(chart().historyChart().points.back().x, lastX);
}

TEST_F(ChartViewTest, PointerShowsTheNearestQuotationAndRepaintsOnlyTheCursor)
{
    window();
    select({m_red});
    chart().repaint();
    ASSERT_EQ(chart().historyChart().points.size(), 20u);
    const std::vector<ChartPoint> points = chart().historyChart().points;
    const auto message = [&](std::size_t index) { return QString::fromLatin1(pointMessage(points[index]).c_str()); };

    PaintRecorder recorder(chart());
    moveTo(pointAt(3) + QPoint(1, 0));
    QApplication::processEvents();
    EXPECT_EQ(chart().cursorIndex(), 3);
    EXPECT_EQ(statusMessage(), message(3));
    EXPECT_FALSE(recorder.painted.isEmpty());
    EXPECT_TRUE(recorder.painted.subtracted(chart().cursorRegion(3)).isEmpty());

    // The cursor shows over the chart in its strips and nowhere else.
    const QImage shown = chart().grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage plain = chart().chartImage();
    ASSERT_EQ(shown.size(), plain.size());
    const qreal ratio = chart().devicePixelRatioF();
    QRegion changed;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (shown.pixel(x, y) != plain.pixel(x, y))
                changed += QRect(static_cast<int>(x / ratio), static_cast<int>(y / ratio), 1, 1);
        }
    }
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_TRUE(changed.subtracted(chart().cursorRegion(3)).isEmpty());

    // Moving on repaints the strips that the cursor leaves and enters; moving within the
    // same point's reach repaints nothing.
    recorder.painted = QRegion();
    moveTo(pointAt(12));
    QApplication::processEvents();
    EXPECT_EQ(chart().cursorIndex(), 12);
    EXPECT_EQ(statusMessage(), message(12));
    EXPECT_TRUE(recorder.painted.intersects(chart().cursorRegion(3)));
    EXPECT_TRUE(recorder.painted.subtracted(chart().cursorRegion(3) + chart().cursorRegion(12)).isEmpty());
    recorder.painted = QRegion();
    moveTo(pointAt(12) + QPoint(0, 5));
    QApplication::processEvents();
    EXPECT_TRUE(recorder.painted.isEmpty());

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&chart(), &leave);
    EXPECT_EQ(statusMessage(), "Ready");
    EXPECT_EQ(chart().nearestIndex(), -1);
    EXPECT_EQ(chart().cursorIndex(), -1);
}

TEST_F(ChartViewTest, DoubleClickAndContextMenuOpenTheChartedItemsSheet)
{
    // The period starts with the item's sixth quotation.
    ItemSettings settings = m_doc.item(m_red)->settings();
    settings.chart.periodStartEnabled = true;
    settings.chart.periodStart = day0() + 5 * 86400;
    m_doc.replaceItemSettings(m_red, settings);
    window();
    select({m_red});
    // The focus rests on the other row: the sheet is still the charted item's.
    list().selectionModel()->setCurrentIndex(list().model()->index(1, 0), QItemSelectionModel::NoUpdate);
    chart().repaint();
    ASSERT_EQ(chart().historyChart().firstVisible, 5u);

    ItemKey opened;
    int page = -1;
    std::size_t record = 0;
    const auto sheetScript = [&](QDialog& dialog) {
        auto& sheet = dynamic_cast<ItemPropertiesDialog&>(dialog);
        opened = sheet.item();
        page = sheet.tabs()->currentIndex();
        const auto* quotations = sheet.findChild<QuotationsPage*>();
        record = quotations->model()->recordIndex(quotations->list()->currentIndex().row());
        return static_cast<int>(QDialog::Rejected);
    };
    m_prompter.dialogs.push_back(sheetScript);
    const QPoint at = pointAt(4);
    QMouseEvent click(QEvent::MouseButtonDblClick, at, chart().mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&chart(), &click);
    EXPECT_EQ(opened, m_red);
    EXPECT_EQ(page, ItemPropertiesDialog::Quotations);
    EXPECT_EQ(record, 5u + 4u);

    // The menu key: the item's chart settings over a history chart ...
    const auto menuFor = [&](QContextMenuEvent::Reason reason) {
        QContextMenuEvent event(reason, QPoint(30, 40), chart().mapToGlobal(QPoint(30, 40)));
        QApplication::sendEvent(&chart(), &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu)
            menu->close();
        return menu;
    };
    QMenu* menu = menuFor(QContextMenuEvent::Keyboard);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), "historyChartMenu");
    EXPECT_EQ(menu->pos(), chart().mapToGlobal(QPoint(5, 5)));
    m_prompter.dialogs.push_back(sheetScript);
    menu->actions().front()->trigger();
    EXPECT_EQ(page, ItemPropertiesDialog::Graphic);

    // ... the comparison limits over a comparison chart.
    m_frame->action(kCompareAll)->trigger();
    menu = menuFor(QContextMenuEvent::Mouse);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->actions().front()->text(), "&Properties...");
}

TEST_F(ChartViewTest, ComparisonLimitsChangeTheChartOnOkAndAreSaved)
{
    window();
    // Cancel changes nothing, whatever the controls said.
    m_prompter.dialogs.push_back([](QDialog& dialog) {
        dialog.findChild<QCheckBox*>(QStringLiteral("gridCheck"))->click();
        return static_cast<int>(QDialog::Rejected);
    });
    m_frame->action(kComparisonLimits)->trigger();
    EXPECT_EQ(chart().comparisonSettings(), ComparisonSettings());
    m_frame->action(kCompareAll)->trigger();
    const QImage original = chart().chartImage();

    // The pickers show the stored days and follow their check boxes.
    bool enabledAtFirst = true;
    bool enabledAfterClick = false;
    QDate shown;
    m_prompter.dialogs.push_back([&](QDialog& dialog) {
        auto* after = dialog.findChild<QCheckBox*>(QStringLiteral("afterCheck"));
        auto* afterDate = dialog.findChild<QDateEdit*>(QStringLiteral("afterDate"));
        auto* beforeDate = dialog.findChild<QDateEdit*>(QStringLiteral("beforeDate"));
        shown = afterDate->date();
        enabledAtFirst = afterDate->isEnabled() || beforeDate->isEnabled();
        after->click();
        enabledAfterClick = afterDate->isEnabled() && !beforeDate->isEnabled();
        afterDate->setDate(QDate(2024, 3, 12));
        dialog.findChild<QCheckBox*>(QStringLiteral("gridCheck"))->click();
        return static_cast<int>(QDialog::Accepted);
    });
    m_frame->action(kComparisonLimits)->trigger();
    EXPECT_EQ(shown, QDate(1999, 1, 1));
    EXPECT_FALSE(enabledAtFirst);
    EXPECT_TRUE(enabledAfterClick);
    const ComparisonSettings expected{true, 2024, 3, 12, false, 2005, 1, 1, false};
    EXPECT_EQ(chart().comparisonSettings(), expected);
    EXPECT_NE(chart().chartImage(), original);

    // Save view options keeps them for the next start.
    EXPECT_EQ(ComparisonSettings::read(Profile()), ComparisonSettings());
    m_frame->action(kSaveViewOptions)->trigger();
    EXPECT_EQ(Profile().getInt("GraphView", "BeginDay", 0), 12);
    window();
    EXPECT_EQ(chart().comparisonSettings(), expected);
}

TEST_F(ChartViewTest, DarkPaletteGivesADarkChartWithNoLabelCutOff)
{
    // A nominal axis up to 14.25 with the values at the points and the grid.
    ItemSettings settings = m_doc.item(m_red)->settings();
    settings.chart.valueOnAxes = ValueOnAxes::Nominal;
    settings.chart.valueOnGraphic = ValueOnGraphic::Nominal;
    settings.chart.showGrid = true;
    m_doc.replaceItemSettings(m_red, settings);
    m_doc.insertQuotation(m_red, 14.25, day0() + 25 * 86400);
    window();
    select({m_red});
    EXPECT_EQ(chart().chartColours(), ChartColours::paper()); // the light palette: as on paper

    QPalette dark = chart().palette();
    dark.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
    dark.setColor(QPalette::Text, QColor(0xE8, 0xE8, 0xE8));
    chart().setPalette(dark);
    EXPECT_TRUE(chart().chartColours().darkBackground());
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        const QImage image = chart().drawChart(ratio);
        const int width = image.width();
        const int height = image.height();
        int darkPixels = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                darkPixels += qGray(image.pixel(x, y)) < 0x40;
        EXPECT_GT(darkPixels, width * height * 8 / 10);
        // Whatever ink reaches an edge was cut off by it; only the grid and the axis run
        // on to the right edge, as lines.
        const int edge = static_cast<int>(ratio);
        const QRgb background = image.pixel(0, 0);
        int cut = 0;
        for (int x = 0; x < width; ++x)
            for (int r = 0; r < edge; ++r)
                cut += image.pixel(x, r) != background || image.pixel(x, height - 1 - r) != background;
        const auto lineOrBackground = [&](int x, int y) {
            bool line = true;
            for (int i = 1; i <= 3 * edge; ++i)
                line = line && image.pixel(x - i, y) == image.pixel(x, y);
            return line || image.pixel(x, y) == background;
        };
        for (int y = 0; y < height; ++y)
            for (int r = 0; r < edge; ++r)
                cut += image.pixel(r, y) != background || !lineOrBackground(width - 1 - r, y);
        EXPECT_EQ(cut, 0);
        // The value labels are there, light on dark, left of the value axis.
        const CanvasRect axes = chart().historyChart().frame.axes;
        int labelInk = 0;
        for (int y = axes.top * edge; y < axes.bottom * edge; ++y)
            for (int x = 0; x < axes.left * edge - 1; ++x)
                labelInk += qGray(image.pixel(x, y)) > 0xA0;
        EXPECT_GT(labelInk, 20 * edge * edge);
    }
}

TEST_F(ChartViewTest, DescribesTheChartAndArrowKeysMoveTheCursor)
{
    window();
    select({m_red});
    EXPECT_EQ(chart().accessibleDescription(),
              "History of Alpha from 03/01/24 to 03/20/24, latest 15.000, change +50.00%");
    m_doc.insertQuotation(m_red, 30.0, day0() + 40 * 86400);
    EXPECT_EQ(chart().accessibleDescription(),
              "History of Alpha from 03/01/24 to 04/10/24, latest 30.000, change +200.00%");
    EXPECT_NE(chart().focusPolicy() & Qt::TabFocus, 0);

    // Right starts at the first quotation, Left at the last; the message pane follows.
    const auto& points = chart().historyChart().points;
    press(Qt::Key_Right);
    EXPECT_EQ(chart().cursorIndex(), 0);
    press(Qt::Key_Right);
    EXPECT_EQ(chart().cursorIndex(), 1);
    EXPECT_EQ(statusMessage(), QString::fromStdString(pointMessage(chart().historyChart().points[1])));
    press(Qt::Key_Left);
    EXPECT_EQ(chart().cursorIndex(), 0);
    press(Qt::Key_End);
    press(Qt::Key_Right);
    EXPECT_EQ(chart().cursorIndex(), static_cast<int>(points.size()) - 1);
    EXPECT_EQ(statusMessage(), QString::fromStdString(pointMessage(points.back())));

    // The comparison: from Beta's first day on, with each item's change; the cursor reads
    // both curves.
    m_frame->action(kCompareAll)->trigger();
    const QString description = chart().accessibleDescription();
    EXPECT_TRUE(description.startsWith("Comparison from 03/06/24 to 04/10/24: ")) << description.toStdString();
    EXPECT_TRUE(description.contains("Alpha change +")) << description.toStdString();
    EXPECT_TRUE(description.contains("Beta change ")) << description.toStdString();
    press(Qt::Key_Right);
    EXPECT_EQ(chart().cursorIndex(), 0);
    EXPECT_TRUE(statusMessage().startsWith("03/06/24  12:00 : Alpha ")) << statusMessage().toStdString();
    EXPECT_TRUE(statusMessage().contains(", Beta 10.0000 (100.00%)")) << statusMessage().toStdString();
    press(Qt::Key_Right);
    EXPECT_EQ(chart().cursorIndex(), 1);
    EXPECT_TRUE(chart().cursorRegion(1).intersects(
        QRect(chart().cursorStops()[1].x, chart().comparisonChart().frame.axes.bottom - 5, 1, 1)));

    // The legend, on by default, goes with View > Chart legend and stays off once saved.
    const QImage withLegend = chart().chartImage();
    QAction* legend = m_frame->action(kChartLegend);
    ASSERT_TRUE(legend->isCheckable());
    legend->trigger();
    EXPECT_FALSE(chart().legendShown());
    EXPECT_NE(chart().chartImage(), withLegend);
    m_frame->action(kSaveViewOptions)->trigger();
    EXPECT_EQ(Profile().getInt("GraphView", "bLegend", 1), 0);
    window();
    EXPECT_FALSE(chart().legendShown());
}

} // namespace
} // namespace tarvelo
