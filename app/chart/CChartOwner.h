// What a widget that holds charts answers when one of its charts asks for a text export.
#ifndef VELA_APP_CHART_CCHARTOWNER_H
#define VELA_APP_CHART_CCHARTOWNER_H

class CChartWidget;
class QString;

/// Implemented by the page that owns a chart (every page does, through CChildDialog). A chart
/// finds its owner among its parent widgets and calls it synchronously (UM_EXPORT_TEXT).
class CChartOwner
{
public:
    virtual ~CChartOwner() = default;
    /// Writes the data of `chart` as text to a file created anew at `path`. Answers 0.
    virtual int OnExportText(CChartWidget *chart, const QString &path) = 0;
};

#endif // VELA_APP_CHART_CCHARTOWNER_H
