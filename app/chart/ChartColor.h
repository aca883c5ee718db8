// Colour of a chart object: red, green, blue and alpha as floats in 0..1.
#ifndef VELA_APP_CHART_CHARTCOLOR_H
#define VELA_APP_CHART_CHARTCOLOR_H

struct ChartColor
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;

    bool operator==(const ChartColor &other) const
    {
        return r == other.r && g == other.g && b == other.b && a == other.a;
    }
    bool operator!=(const ChartColor &other) const { return !(*this == other); }
};

#endif // VELA_APP_CHART_CHARTCOLOR_H
