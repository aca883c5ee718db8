#include "app/spectrum/CVelocityScale.h"

#include "app/spectrum/MapSection.h"

#include <QPainter>

namespace {

// The bar's width and the room around it; the title stands above the bar and half a line
// is left below it, where the lowest label is centred on the bar's bottom edge.
constexpr int BarWidth = 18;
constexpr int Margin = 6;

} // namespace

CVelocityScale::CVelocityScale(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

void CVelocityScale::SetRange(double vMin, double vMax)
{
    m_hasRange = true;
    m_vMin = vMin;
    m_vMax = vMax;
    update();
}

QSize CVelocityScale::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int labels = metrics.horizontalAdvance(QStringLiteral("00000"));
    const int title = metrics.horizontalAdvance(tr("Vs [m/s]"));
    return { std::max(Margin + BarWidth + Margin + labels, title) + Margin, 200 };
}

void CVelocityScale::paintEvent(QPaintEvent *)
{
    if (!m_hasRange)
        return;
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    painter.drawText(QRect(0, Margin, width(), line), Qt::AlignHCenter, tr("Vs [m/s]"));
    const QRect bar(Margin, Margin + 2 * line, BarWidth, height() - 3 * line - 2 * Margin);
    if (bar.height() < 2)
        return;
    painter.drawImage(bar, MapScaleImage(m_vMin, m_vMax, bar.height()));
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
    const bool flat = !(m_vMax > m_vMin);
    for (double v : MapScaleTicks(m_vMin, m_vMax)) {
        const double t = flat ? 0.0 : (v - m_vMin) / (m_vMax - m_vMin);
        const int y = bar.bottom() - static_cast<int>(t * (bar.height() - 1) + 0.5);
        painter.drawLine(bar.right() + 1, y, bar.right() + 4, y);
        painter.drawText(QRect(bar.right() + 6, y - line / 2, width() - bar.right() - 6, line),
            Qt::AlignLeft | Qt::AlignVCenter, QString::number(v, 'f', 0));
    }
}
