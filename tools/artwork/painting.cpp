#include "painting.h"

#include <QFontDatabase>

#include <algorithm>
#include <random>
#include <vector>

namespace art {

void prepare(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
}

namespace {

// One horizontal pass over rows of 4-channel pixels; `stride` steps between
// neighbours so the same code blurs columns.
void blurLine(uchar* base, int count, int stride, int radius, std::vector<int>& tmp)
{
    tmp.assign(static_cast<size_t>(count) * 4, 0);
    const int window = 2 * radius + 1;
    for (int c = 0; c < 4; ++c) {
        int sum = 0;
        for (int i = -radius; i <= radius; ++i) {
            const int k = std::clamp(i, 0, count - 1);
            sum += base[k * stride + c];
        }
        for (int i = 0; i < count; ++i) {
            tmp[static_cast<size_t>(i) * 4 + c] = (sum + window / 2) / window;
            const int out = std::clamp(i - radius, 0, count - 1);
            const int in = std::clamp(i + radius + 1, 0, count - 1);
            sum += base[in * stride + c] - base[out * stride + c];
        }
    }
    for (int i = 0; i < count; ++i)
        for (int c = 0; c < 4; ++c)
            base[i * stride + c] = static_cast<uchar>(tmp[static_cast<size_t>(i) * 4 + c]);
}

} // namespace

void boxBlur(QImage& image, int radius)
{
    if (radius <= 0)
        return;
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::vector<int> tmp;
    const int w = image.width();
    const int h = image.height();
    const int bpl = static_cast<int>(image.bytesPerLine());
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y)
            blurLine(image.scanLine(y), w, 4, radius, tmp);
        uchar* bits = image.bits();
        for (int x = 0; x < w; ++x)
            blurLine(bits + x * 4, h, bpl, radius, tmp);
    }
}

void drawShadow(QPainter& p, const QSize& canvas, const QPainterPath& shape,
                int radius, const QColor& colour, QPointF offset)
{
    QImage layer(canvas, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter lp(&layer);
        prepare(lp);
        lp.setPen(Qt::NoPen);
        lp.setBrush(colour);
        lp.translate(offset);
        lp.drawPath(shape);
    }
    boxBlur(layer, radius);
    p.drawImage(0, 0, layer);
}

void clearRect(QImage& image, const QRect& rect)
{
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x)
            line[x] = 0;
    }
}

void addGrain(QImage& image, quint32 seed, int amplitude)
{
    std::mt19937 gen(seed);
    const int span = 2 * amplitude + 1;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int d = static_cast<int>(gen() % static_cast<unsigned>(span)) - amplitude;
            const QRgb px = line[x];
            const int a = qAlpha(px);
            if (a != 255)
                continue;
            line[x] = qRgba(std::clamp(qRed(px) + d, 0, 255), std::clamp(qGreen(px) + d, 0, 255),
                            std::clamp(qBlue(px) + d, 0, 255), a);
        }
    }
}

QFont artFont(int pixelSize, bool bold)
{
    static const QString regular = [] {
        const int id = QFontDatabase::addApplicationFont(
            QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QStringLiteral("DejaVu Sans") : families.first();
    }();
    static const bool boldLoaded = [] {
        return QFontDatabase::addApplicationFont(
                   QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf")) >= 0;
    }();
    (void)boldLoaded;
    QFont f(regular);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QPainterPath roundedRect(const QRectF& rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath circlePath(QPointF centre, qreal radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

QColor mix(const QColor& a, const QColor& b, double t)
{
    auto lerp = [t](int x, int y) { return static_cast<int>(x + (y - x) * t + 0.5); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

} // namespace art
