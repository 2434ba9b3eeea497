#include "ui/chartview.h"

#include "platform/profile.h"
#include "render/qtcanvas.h"
#include "resources/strings.h"
#include "ui/comparisonlimitsdialog.h"
#include "ui/itemproperties/itempropertiesdialog.h"
#include "ui/portfoliolistview.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

#include <algorithm>

namespace tarvelo {

namespace {

QSize imageSize(const QSize& logical, qreal ratio)
{
    return {qCeil(logical.width() * ratio), qCeil(logical.height() * ratio)};
}

int dotsPerMeter(int dotsPerInch)
{
    return qRound(dotsPerInch / 0.0254);
}

} // namespace

ChartView::ChartView(PortfolioDocument& doc, PortfolioListView& list, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_list(list), m_settings(ComparisonSettings::read(Profile()))
{
    setObjectName(QStringLiteral("chartView"));
    // Every paint covers its region from the image: no background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus); // a left click focuses it as well, see mousePressEvent
    setMinimumHeight(20);
    setAccessibleName(tr("Chart"));
    connect(&m_list, &PortfolioListView::selectionChanged, this, &ChartView::followSelection);
    m_viewToken = m_doc.subscribeViews([this](const DocumentChange& change) { documentChanged(change); });
    m_items = m_list.selectedPositions();
    updateDescription();
}

ChartView::~ChartView()
{
    m_doc.unsubscribeViews(m_viewToken);
}

ChartView::Kind ChartView::kind() const
{
    const auto valid = std::count_if(m_items.begin(), m_items.end(), [this](ItemKey key) { return m_doc.item(key); });
    return valid == 0 ? Kind::Empty : valid == 1 ? Kind::History : Kind::Comparison;
}

ItemKey ChartView::chartedItem() const
{
    if (kind() != Kind::History)
        return {};
    return *std::find_if(m_items.begin(), m_items.end(), [this](ItemKey key) { return m_doc.item(key); });
}

// Selection and document ------------------------------------------------------------------

void ChartView::followSelection()
{
    // The list also reports a focus that moved over the same selection; the chart
    // stays as it is then.
    if (m_list.selectedPositions() == m_items)
        return;
    m_items = m_list.selectedPositions();
    m_nearest = m_cursor = -1;
    invalidate();
    updateDescription();
}

void ChartView::documentChanged(const DocumentChange& change)
{
    // The list has heard of the change first and settled its selection.
    if (change.kind == DocumentChange::Kind::Item
        && std::find(m_items.begin(), m_items.end(), change.item) == m_items.end())
        return;
    m_items = m_list.selectedPositions();
    m_nearest = m_cursor = -1;
    invalidate();
    updateDescription();
}

std::vector<const SecurityItem*> ChartView::chartedItems() const
{
    std::vector<const SecurityItem*> items;
    for (const ItemKey key : m_items) {
        if (const SecurityItem* item = m_doc.item(key))
            items.push_back(item);
    }
    return items;
}

void ChartView::updateDescription()
{
    const std::vector<const SecurityItem*> items = chartedItems();
    QString description;
    if (items.size() == 1)
        description = fromCore(historyDescription(*items.front()));
    else if (items.size() > 1)
        description = fromCore(comparisonDescription(items, m_settings));
    else
        description = tr("No item is marked: mark one in the list to see its history, or several to compare them.");
    if (description != accessibleDescription())
        setAccessibleDescription(description);
}

void ChartView::setComparisonSettings(const ComparisonSettings& settings)
{
    m_settings = settings;
    m_doc.notifyViews();
}

void ChartView::saveViewOptions() const
{
    Profile profile;
    m_settings.write(profile);
}

void ChartView::setLegendShown(bool shown)
{
    if (shown == m_settings.legend)
        return;
    ComparisonSettings settings = m_settings;
    settings.legend = shown;
    setComparisonSettings(settings);
}

ChartColours ChartView::chartColours() const
{
    return ChartColours::fromPalette(colourRef(palette().color(QPalette::Base)),
                                     colourRef(palette().color(QPalette::Text)));
}

// Drawing -----------------------------------------------------------------------------------

void ChartView::invalidate()
{
    m_cacheValid = false;
    update();
}

QImage ChartView::drawChart(qreal ratio)
{
    m_history = HistoryChart();
    m_comparison = ComparisonChart();
    m_comparisonStops.clear();
    m_compared.clear();
    QImage image(imageSize(size(), ratio), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(ratio);
    // Fonts take the pane's resolution, as if the chart were painted on it directly.
    image.setDotsPerMeterX(dotsPerMeter(logicalDpiX()));
    image.setDotsPerMeterY(dotsPerMeter(logicalDpiY()));
    const ChartColours colours = chartColours();
    image.fill(colourOf(colours.background));

    std::vector<const SecurityItem*> items = chartedItems();
    if (items.empty())
        return image;
    QPainter painter(&image);
    QtCanvas canvas(painter, ChartFonts::screen());
    if (items.size() == 1) {
        m_history = drawHistoryChart(canvas, width(), height(), *items.front(), ChartMedium::Screen, colours);
    } else {
        m_comparison = drawComparisonChart(canvas, width(), height(), items, m_settings, ChartMedium::Screen, {},
                                           colours);
        if (m_comparison.plotted)
            m_comparisonStops = comparisonStops(m_comparison);
        m_compared = std::move(items);
    }
    return image;
}

const std::vector<ChartPoint>& ChartView::cursorStops() const
{
    return m_comparison.plotted ? m_comparisonStops : m_history.points;
}

QString ChartView::stopMessage(int index) const
{
    const ChartPoint& stop = cursorStops()[static_cast<std::size_t>(index)];
    if (m_comparison.plotted)
        return fromCore(comparisonMessage(m_comparison, m_compared, stop.time));
    return fromCore(pointMessage(stop));
}

std::vector<CanvasPoint> ChartView::cursorPolyline(int index) const
{
    if (index < 0 || index >= static_cast<int>(cursorStops().size()))
        return {};
    if (m_comparison.plotted) {
        const auto line = comparisonCursor(m_comparison, cursorStops()[static_cast<std::size_t>(index)].x);
        return {line.begin(), line.end()};
    }
    const auto line = cursorLine(m_history, index);
    return {line.begin(), line.end()};
}

void ChartView::ensureChart()
{
    const qreal ratio = devicePixelRatioF();
    if (m_cacheValid && m_cache.devicePixelRatio() == ratio && m_cache.size() == imageSize(size(), ratio))
        return;
    m_cache = drawChart(ratio);
    m_cacheValid = true;
    // A new drawing starts the message pane afresh; a point that was picked keeps its
    // cursor, at the place the point has now.
    showMessage(text(strings::kReady));
    if (tracking() && m_nearest >= 0 && m_nearest < static_cast<int>(cursorStops().size())) {
        m_cursor = m_nearest;
        showMessage(stopMessage(m_nearest));
    } else {
        m_nearest = m_cursor = -1;
    }
}

const QImage& ChartView::chartImage()
{
    ensureChart();
    return m_cache;
}

void ChartView::paintEvent(QPaintEvent* event)
{
    ensureChart();
    if (m_cache.isNull())
        return;
    QPainter painter(this);
    const qreal ratio = m_cache.devicePixelRatio();
    for (const QRect& part : event->region())
        painter.drawImage(part, m_cache,
                          QRectF(part.x() * ratio, part.y() * ratio, part.width() * ratio, part.height() * ratio));
    if (m_cursor >= 0) {
        QtCanvas canvas(painter, ChartFonts::screen());
        canvas.invertedPolyline(cursorPolyline(m_cursor));
    }
}

void ChartView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    invalidate();
}

void ChartView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        invalidate();
}

// Pointer tracking -------------------------------------------------------------------------

bool ChartView::tracking() const
{
    const Kind shown = kind();
    if (shown == Kind::History)
        return m_history.plotted && m_history.points.size() >= 2;
    return shown == Kind::Comparison && m_comparison.plotted && !m_comparisonStops.empty();
}

QRegion ChartView::cursorRegion(int index) const
{
    const std::vector<CanvasPoint> line = cursorPolyline(index);
    if (line.empty())
        return {};
    // A strip one pixel wider than the line on either side, for the pixels that a line
    // on a fractional device pixel ratio touches.
    const auto strip = [](CanvasPoint from, CanvasPoint to) {
        return QRect(QPoint(std::min(from.x, to.x) - 1, std::min(from.y, to.y) - 1),
                     QPoint(std::max(from.x, to.x) + 1, std::max(from.y, to.y) + 1));
    };
    QRegion region;
    for (std::size_t i = 1; i < line.size(); ++i)
        region += strip(line[i - 1], line[i]);
    return region;
}

void ChartView::showMessage(const QString& text)
{
    if (text == m_message)
        return;
    m_message = text;
    emit messageChanged(text);
}

void ChartView::stopTracking()
{
    if (m_cursor >= 0)
        update(cursorRegion(m_cursor));
    m_nearest = m_cursor = -1;
    showMessage(text(strings::kReady));
}

void ChartView::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    const QPoint at = event->position().toPoint();
    // With a button held the pointer is reported beyond the pane as well.
    if (!rect().contains(at)) {
        stopTracking();
        return;
    }
    ensureChart();
    if (!tracking())
        return;
    const int index = nearestPoint(cursorStops(), at.x());
    if (index >= 0)
        moveCursorTo(index);
}

void ChartView::moveCursorTo(int index)
{
    m_nearest = index;
    showMessage(stopMessage(index));
    if (index == m_cursor)
        return;
    // Only the strips of the old and the new cursor are painted again.
    if (m_cursor >= 0)
        update(cursorRegion(m_cursor));
    m_cursor = index;
    update(cursorRegion(m_cursor));
}

void ChartView::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    stopTracking();
}

// Mouse and keyboard commands ---------------------------------------------------------------

void ChartView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

void ChartView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || kind() != Kind::History) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    ensureChart();
    int quotation = -1;
    if (tracking()) {
        const int index = nearestPoint(m_history.points, event->position().toPoint().x());
        if (index >= 0)
            quotation = static_cast<int>(m_history.firstVisible) + index;
    }
    showItemProperties(ItemPropertiesDialog::Quotations, quotation);
}

void ChartView::showItemProperties(int page, int quotationIndex)
{
    const ItemKey item = chartedItem();
    if (item)
        emit propertiesWanted(item, page, quotationIndex);
}

void ChartView::editComparisonLimits()
{
    ComparisonLimitsDialog dialog(m_settings, this);
    if (Prompter::instance().exec(dialog) == QDialog::Accepted)
        setComparisonSettings(dialog.settings());
}

void ChartView::setContextMenus(QMenu* history, QMenu* comparison)
{
    m_historyMenu = history;
    m_comparisonMenu = comparison;
}

void ChartView::showContextMenu(const QPoint& globalPos)
{
    QMenu* menu = kind() == Kind::History ? m_historyMenu : m_comparisonMenu;
    if (menu)
        menu->popup(globalPos);
}

void ChartView::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard the menu opens just inside the pane's top-left corner.
    showContextMenu(event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : mapToGlobal(QPoint(5, 5)));
    event->accept();
}

void ChartView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        showContextMenu(mapToGlobal(QPoint(5, 5)));
        event->accept();
        return;
    }
    // The keys walk the cursor from quotation to quotation as the pointer would; the first
    // press starts at the near end.
    const int key = event->key();
    if ((key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        ensureChart();
        if (tracking()) {
            const int last = static_cast<int>(cursorStops().size()) - 1;
            int index = m_cursor;
            if (key == Qt::Key_Home)
                index = 0;
            else if (key == Qt::Key_End)
                index = last;
            else if (key == Qt::Key_Right)
                index = m_cursor < 0 ? 0 : std::min(m_cursor + 1, last);
            else
                index = m_cursor < 0 ? last : std::max(m_cursor - 1, 0);
            moveCursorTo(index);
            event->accept();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

} // namespace tarvelo
