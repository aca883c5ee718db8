// Build tool: draws the banner picture at the head of the 2D section report and writes it as
// the JPEG file the report loads from the program's folder. Usage: vela_make_map_banner OUTPUT
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vela_make_map_banner OUTPUT.jpg\n");
        return 2;
    }
    // Drawn off screen: the build machine needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    const int width = 560;
    const int height = 60;
    QImage banner(width, height, QImage::Format_RGB32);
    QPainter painter(&banner);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, width, 0);
    sky.setColorAt(0.0, QColor(0x1f, 0x3b, 0x5c));
    sky.setColorAt(1.0, QColor(0x45, 0x60, 0x7b));
    painter.fillRect(banner.rect(), sky);
    // A band of layered ground along the bottom, coloured as the section's slow-to-fast map.
    const QColor layers[] = { QColor(0x2b, 0x4f, 0xd8), QColor(0x2f, 0xb8, 0x8a),
        QColor(0xe8, 0xc5, 0x3a), QColor(0xd8, 0x4a, 0x2b) };
    for (int i = 0; i < 4; ++i)
        painter.fillRect(QRect(i * width / 4, height - 8, width / 4 + 1, 8), layers[i]);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(30);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(16, 0, width - 32, height - 8), Qt::AlignVCenter | Qt::AlignLeft,
        QStringLiteral("VELA"));
    font.setPixelSize(16);
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(QRect(16, 0, width - 32, height - 8), Qt::AlignVCenter | Qt::AlignRight,
        QStringLiteral("2D Vs section"));
    painter.end();
    if (!banner.save(QString::fromLocal8Bit(argv[1]), "JPG", 90)) {
        std::fprintf(stderr, "vela_make_map_banner: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
