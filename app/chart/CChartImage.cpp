#include "app/chart/CChartImage.h"

#include <utility>

std::unique_ptr<CChartObject> CChartImage::Clone() const
{
    return std::make_unique<CChartImage>(*this);
}

ChartBounds CChartImage::Bounds() const
{
    ChartBounds bounds;
    bounds.Include(m_left, m_bottom);
    bounds.Include(m_right, m_top);
    return bounds;
}

void CChartImage::SetFile(const QString &path)
{
    m_file = path;
    m_width = 0;
    m_height = 0;
    m_pixels.clear();
}

bool CChartImage::SetPixels(int width, int height, std::vector<std::uint32_t> pixels)
{
    if (width <= 0 || height <= 0
        || pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return false;
    m_width = width;
    m_height = height;
    m_pixels = std::move(pixels);
    m_file.clear();
    return true;
}

void CChartImage::SetRect(double left, double bottom, double right, double top)
{
    m_left = left;
    m_bottom = bottom;
    m_right = right;
    m_top = top;
}
