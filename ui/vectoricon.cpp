#include "ui/vectoricon.h"

#include <QApplication>
#include <QIconEngine>
#include <QPaintDevice>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace tarvelo {

namespace {

class VectorIconEngine : public QIconEngine {
public:
    VectorIconEngine(std::shared_ptr<const IconDrawing> drawing, IconSurface surface)
        : m_drawing(std::move(drawing)), m_surface(surface)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        const QPaintDevice* device = painter->device();
        const qreal ratio = device ? device->devicePixelRatioF() : qApp->devicePixelRatio();
        const QSize pixels(static_cast<int>(std::lround(rect.width() * ratio)),
                           static_cast<int>(std::lround(rect.height() * ratio)));
        painter->drawPixmap(rect, rendered(pixels, mode, ratio));
    }

    // QIcon asks for the size in device pixels and sets the pixel ratio itself.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override { return rendered(size, mode, 1.0); }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48), QSize(64, 64)};
    }

    QString key() const override { return QStringLiteral("tarvelo-vector"); }
    QIconEngine* clone() const override { return new VectorIconEngine(m_drawing, m_surface); }
    bool isNull() override { return false; }

private:
    struct Drawn {
        QSize size;
        qreal ratio;
        QIcon::Mode mode;
        QRgb ink;
        QRgb background;
        QPixmap pixmap;
    };

    IconColours colours(QIcon::Mode mode) const
    {
        const QPalette palette = QGuiApplication::palette();
        if (mode == QIcon::Selected && m_surface == IconSurface::List)
            return {palette.color(QPalette::HighlightedText), palette.color(QPalette::Highlight)};
        if (m_surface == IconSurface::List)
            return {palette.color(QPalette::Text), palette.color(QPalette::Base)};
        return {palette.color(QPalette::WindowText), palette.color(QPalette::Window)};
    }

    // The pixmap of that many device pixels, for that pixel ratio.
    const QPixmap& rendered(const QSize& size, QIcon::Mode mode, qreal ratio)
    {
        static const QPixmap none;
        if (size.isEmpty())
            return none;
        const IconColours on = colours(mode);
        const QRgb ink = on.ink.rgba();
        const QRgb background = on.background.rgba();
        for (const Drawn& drawn : m_drawn) {
            if (drawn.size == size && drawn.ratio == ratio && drawn.mode == mode && drawn.ink == ink
                && drawn.background == background)
                return drawn.pixmap;
        }
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        {
            QPainter p(&pixmap);
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setRenderHint(QPainter::TextAntialiasing, true);
            p.scale(size.width() / 16.0, size.height() / 16.0);
            (*m_drawing)(p, on);
        }
        if (mode == QIcon::Disabled || (mode == QIcon::Selected && m_surface == IconSurface::Window)) {
            if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
                QStyleOption option;
                option.palette = QGuiApplication::palette();
                const QPixmap generated = app->style()->generatedIconPixmap(mode, pixmap, &option);
                if (!generated.isNull())
                    pixmap = generated;
            }
        }
        pixmap.setDevicePixelRatio(ratio);
        // A handful of sizes at most are ever shown; a changed palette starts afresh.
        if (m_drawn.size() >= kKept)
            m_drawn.erase(m_drawn.begin());
        m_drawn.push_back({size, ratio, mode, ink, background, pixmap});
        return m_drawn.back().pixmap;
    }

    static constexpr std::size_t kKept = 12;
    std::shared_ptr<const IconDrawing> m_drawing;
    IconSurface m_surface;
    std::vector<Drawn> m_drawn;
};

} // namespace

QIcon vectorIcon(IconDrawing drawing, IconSurface surface)
{
    return QIcon(new VectorIconEngine(std::make_shared<const IconDrawing>(std::move(drawing)), surface));
}

} // namespace tarvelo
