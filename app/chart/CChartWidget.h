// A chart region shown inside a page, drawn with QCustomPlot: refresh, zoom to all, image
// export, mouse zoom and pan, a context menu with "Export data...", the vertical-bar picking
// tool and cursor reports.
#ifndef VELA_APP_CHART_CCHARTWIDGET_H
#define VELA_APP_CHART_CCHARTWIDGET_H

#include "app/chart/CChartRegion.h"

#include <QWidget>

class QCustomPlot;
class QCPItemLine;
class QCPTextElement;
class QMouseEvent;

/// Style flags given at creation.
enum ChartStyle {
    ChartStyleDefault = 0,
    ChartStyleNoContextMenu = 0x1, ///< no "Export data..." menu
    ChartStyleNoMouse = 0x2, ///< no zoom, pan or picking with the mouse
};

/// Embedded chart. Pages edit Region() (or replace it with SetRegion), then call Refresh() and,
/// when they want every object in view, ZoomAll(). Until Refresh() the widget shows what it drew
/// last.
class CChartWidget : public QWidget
{
    Q_OBJECT

public:
    /// @param parent the page (or a frame inside it); the page that owns the chart is the nearest
    ///        ancestor implementing CChartOwner.
    /// @param controlId identifier by which the page tells its charts apart (as in an export
    ///        request).
    /// @param styleFlags ChartStyle flags.
    explicit CChartWidget(
        QWidget *parent = nullptr, int controlId = 0, int styleFlags = ChartStyleDefault);
    ~CChartWidget() override;

    int ControlId() const { return m_controlId; }
    CChartRegion &Region() { return m_region; }
    const CChartRegion &Region() const { return m_region; }
    void SetRegion(CChartRegion region);

    /// Redraws the region: title, labels, formats, legend and every object.
    void Refresh();
    /// Sets the axis ranges to show every visible object (with a small margin).
    void ZoomAll();

    /// Saves the chart as a picture of widthPx x heightPx pixels. The format follows the suffix
    /// (".bmp" for the report, ".png", ".jpg"); false when the file cannot be written or the size
    /// is not positive.
    bool ExportImage(const QString &path, int widthPx, int heightPx);
    /// Same for a region that is not on screen (the report): draws it with all objects in view.
    static bool ExportRegion(
        const CChartRegion &region, const QString &path, int widthPx, int heightPx);

    /// Switches the vertical-bar picking tool: while on, dragging with the left button draws a
    /// vertical bar instead of panning; on release the bar becomes a line object of the region
    /// and BarPicked is emitted.
    void SetPickingTool(bool enabled);
    bool PickingTool() const { return m_picking; }

    /// Sends the owning page UM_EXPORT_TEXT for this chart and `path` (what the context menu does
    /// once the user has chosen the file). Returns the page's answer, or -1 without an owner.
    int RequestExportText(const QString &path);

    /// The plotting surface, for what the operations above do not cover.
    QCustomPlot *Plot() const { return m_plot; }

Q_SIGNALS:
    /// A bar was drawn with the picking tool: objectId is the identifier of its line object,
    /// x its horizontal position, y1 and y2 the vertical values where the drag began and ended.
    void BarPicked(int objectId, double x, double y1, double y2);
    /// The cursor moved over the plotting area, in axis units.
    void CursorMoved(double x, double y);
    /// The cursor left the chart.
    void CursorLeft();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ShowContextMenu(const QPoint &position);
    void AskAndExportText();
    void ApplyInteractions();
    void ApplyTitle();
    void MousePressed(QMouseEvent *event);
    void MouseMoved(QMouseEvent *event);
    void MouseReleased(QMouseEvent *event);

    QCustomPlot *m_plot = nullptr;
    CChartRegion m_region;
    int m_controlId = 0;
    int m_styleFlags = ChartStyleDefault;
    bool m_picking = false;
    bool m_dragging = false;
    double m_barX = 0.0;
    double m_barY1 = 0.0;
    QCPItemLine *m_barItem = nullptr;
    QCPTextElement *m_titleElement = nullptr;
};

#endif // VELA_APP_CHART_CCHARTWIDGET_H
