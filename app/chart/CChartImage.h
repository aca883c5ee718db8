// A picture stretched over a rectangle given in axis units (the spectrum maps).
#ifndef VELA_APP_CHART_CCHARTIMAGE_H
#define VELA_APP_CHART_CCHARTIMAGE_H

#include "app/chart/CChartObject.h"

#include <cstdint>
#include <vector>

/// The picture comes either from an image file (read when drawn) or from pixels held in memory
/// (0xAARRGGBB, row by row from the top). The first row is drawn at the top of the rectangle.
class CChartImage : public CChartObject
{
public:
    CChartImage() = default;

    Kind GetKind() const override { return Kind::Image; }
    std::unique_ptr<CChartObject> Clone() const override;
    ChartBounds Bounds() const override;

    void SetFile(const QString &path);
    const QString &File() const { return m_file; }
    /// Returns false, and keeps the old picture, when pixels does not hold width x height values.
    bool SetPixels(int width, int height, std::vector<std::uint32_t> pixels);
    int PixelWidth() const { return m_width; }
    int PixelHeight() const { return m_height; }
    const std::vector<std::uint32_t> &Pixels() const { return m_pixels; }

    /// The rectangle in axis units: x from left to right, y from bottom to top.
    void SetRect(double left, double bottom, double right, double top);
    double Left() const { return m_left; }
    double Bottom() const { return m_bottom; }
    double Right() const { return m_right; }
    double Top() const { return m_top; }

private:
    QString m_file;
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels;
    double m_left = 0.0;
    double m_bottom = 0.0;
    double m_right = 1.0;
    double m_top = 1.0;
};

#endif // VELA_APP_CHART_CCHARTIMAGE_H
