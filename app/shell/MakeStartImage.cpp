// Build tool: draws the start-page picture (a shot record over a layered ground) and writes it
// as the bitmap file the start page loads. Usage: vela_make_start_image OUTPUT [WIDTH HEIGHT]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double Pi = 3.14159265358979323846;

// Height of the ground surface at x, as a fraction of the picture height.
double SurfaceAt(double x, double width)
{
    return 0.47 + 0.012 * std::sin(x / width * 2.0 * Pi * 1.3 + 0.4);
}

// A gently undulating interface at a mean depth (fraction of the height).
QPainterPath LayerBelow(
    double width, double height, double meanDepth, double amplitude, double phase)
{
    QPainterPath path;
    path.moveTo(0, height);
    for (int i = 0; i <= 200; ++i) {
        const double x = width * i / 200.0;
        const double y = height
            * (meanDepth + amplitude * std::sin(x / width * 2.0 * Pi * 0.9 + phase)
                + amplitude * 0.4 * std::sin(x / width * 2.0 * Pi * 2.7 + phase * 2.0));
        path.lineTo(x, y);
    }
    path.lineTo(width, height);
    path.closeSubpath();
    return path;
}

void DrawSky(QPainter &painter, double width, double height)
{
    QLinearGradient sky(0, 0, 0, height * 0.5);
    sky.setColorAt(0.0, QColor(0x0b, 0x24, 0x40));
    sky.setColorAt(0.55, QColor(0x2c, 0x5d, 0x8f));
    sky.setColorAt(1.0, QColor(0x9c, 0xc3, 0xe2));
    painter.fillRect(QRectF(0, 0, width, height * 0.5), sky);
    // Distant hills.
    QPainterPath hills;
    hills.moveTo(0, height * 0.5);
    for (int i = 0; i <= 100; ++i) {
        const double x = width * i / 100.0;
        const double y = height
            * (0.43 - 0.05 * std::pow(std::sin(x / width * Pi * 1.6 + 0.5), 2.0)
                - 0.02 * std::sin(x / width * 2.0 * Pi * 3.1));
        hills.lineTo(x, y);
    }
    hills.lineTo(width, height * 0.5);
    hills.closeSubpath();
    painter.fillPath(hills, QColor(0x5d, 0x7f, 0x9e));
}

void DrawGround(QPainter &painter, double width, double height)
{
    struct Layer
    {
        double depth;
        double amplitude;
        QColor color;
    };
    const Layer layers[] = {
        { 0.47, 0.012, QColor(0x5e, 0x7a, 0x3a) }, // grass-covered topsoil
        { 0.515, 0.008, QColor(0x7a, 0x5a, 0x38) }, // soil
        { 0.60, 0.015, QColor(0xb0, 0x8c, 0x58) }, // sand
        { 0.72, 0.02, QColor(0x8e, 0x6e, 0x50) }, // clay
        { 0.85, 0.018, QColor(0x5a, 0x5d, 0x66) }, // bedrock
    };
    QRandomGenerator random(20261207);
    double phase = 0.4;
    for (const Layer &layer : layers) {
        const QPainterPath path = LayerBelow(width, height, layer.depth, layer.amplitude, phase);
        QLinearGradient shade(0, height * layer.depth, 0, height);
        shade.setColorAt(0.0, layer.color.lighter(108));
        shade.setColorAt(1.0, layer.color.darker(135));
        painter.fillPath(path, shade);
        painter.setPen(QPen(layer.color.darker(150), 1.2));
        painter.drawPath(path);
        // Grains give each layer a texture.
        painter.save();
        painter.setClipPath(path);
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < 900; ++i) {
            const double x = random.bounded(width);
            const double y = height * layer.depth + random.bounded(height * (1.0 - layer.depth));
            const double size = 0.8 + random.bounded(2.2);
            painter.setBrush(
                random.bounded(2) ? layer.color.lighter(125) : layer.color.darker(125));
            painter.drawEllipse(QPointF(x, y), size, size * 0.7);
        }
        painter.restore();
        phase += 1.1;
    }
}

void DrawWaves(QPainter &painter, double width, double height, double sourceX)
{
    // Wavefronts spreading from the source into the ground, fading with distance.
    const double surface = height * SurfaceAt(sourceX, width);
    painter.save();
    painter.setClipRect(QRectF(0, surface, width, height - surface));
    for (int i = 1; i <= 14; ++i) {
        const double radius = i * width * 0.045;
        const int alpha = std::max(20, 150 - i * 9);
        painter.setPen(QPen(QColor(255, 255, 255, alpha), 2.0 - i * 0.07));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(sourceX, surface), radius, radius * 0.55);
    }
    painter.restore();
}

void DrawSpread(QPainter &painter, double width, double height, double sourceX)
{
    // Twenty-four geophones and, above each, its recorded trace: a surface-wave arrival whose
    // delay grows with offset and whose period lengthens (dispersion).
    const int receivers = 24;
    const double first = sourceX + width * 0.04;
    const double spacing = width * 0.022;
    const double recordTop = height * 0.19;
    const double recordBottom = height * 0.40;
    for (int r = 0; r < receivers; ++r) {
        const double x = first + r * spacing;
        const double offset = x - sourceX;
        QPainterPath trace;
        for (int s = 0; s <= 240; ++s) {
            const double t = s / 240.0;
            const double y = recordTop + t * (recordBottom - recordTop);
            const double arrival = 0.14 + offset / width * 1.05;
            const double dt = t - arrival;
            const double period = 0.07 + 0.05 * dt;
            const double envelope =
                std::exp(-dt * dt / (2.0 * 0.06 * 0.06 * (1.0 + offset / width * 2.0)));
            // Onset tapered over a quarter period so the traces start cleanly.
            const double onset = std::clamp((dt + 0.1) / 0.03, 0.0, 1.0);
            const double amplitude = spacing * 0.75 * envelope * onset;
            const QPointF point(
                x + amplitude * std::sin(2.0 * Pi * dt / std::max(period, 0.02)), y);
            if (s == 0)
                trace.moveTo(point);
            else
                trace.lineTo(point);
        }
        painter.setPen(QPen(QColor(255, 255, 255, 200), 1.3));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(trace);

        const double ground = height * SurfaceAt(x, width);
        QPolygonF body;
        body << QPointF(x - 4, ground - 8) << QPointF(x + 4, ground - 8) << QPointF(x, ground + 6);
        painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
        painter.setBrush(QColor(0xf0, 0xa0, 0x30));
        painter.drawPolygon(body);
        painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.2));
        painter.drawLine(QPointF(x, ground + 6), QPointF(x, ground + 14));
    }
    // The cable joining them.
    QPainterPath cable;
    for (int r = 0; r < receivers; ++r) {
        const double x = first + r * spacing;
        const QPointF point(x, height * SurfaceAt(x, width) - 9);
        if (r == 0)
            cable.moveTo(point);
        else
            cable.quadTo(QPointF(x - spacing / 2, point.y() + 3), point);
    }
    painter.setPen(QPen(QColor(0x22, 0x22, 0x22), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(cable);
    // The source: a plate struck by a hammer.
    const double ground = height * SurfaceAt(sourceX, width);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x40, 0x40, 0x48));
    painter.drawRect(QRectF(sourceX - 10, ground - 4, 20, 5));
    painter.setPen(QPen(QColor(0x6b, 0x4a, 0x2a), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(sourceX + 16, ground - 40), QPointF(sourceX + 2, ground - 12));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x55, 0x58, 0x60));
    painter.drawRoundedRect(QRectF(sourceX - 8, ground - 20, 16, 10), 2, 2);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT [WIDTH HEIGHT]\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const int width = argc >= 4 ? std::atoi(argv[2]) : 1200;
    const int height = argc >= 4 ? std::atoi(argv[3]) : 760;
    if (width < 100 || height < 100) {
        std::fprintf(stderr, "the picture must be at least 100 x 100 pixels\n");
        return 2;
    }
    QImage image(width, height, QImage::Format_RGB888);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawSky(painter, width, height);
    DrawGround(painter, width, height);
    const double sourceX = width * 0.27;
    DrawWaves(painter, width, height, sourceX);
    DrawSpread(painter, width, height, sourceX);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[1]), "BMP")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
