#include "app/chart/CChartWidget.h"

#include "app/chart/CChartImage.h"
#include "app/chart/CChartOwner.h"
#include "app/chart/CErrorBarSeries.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace {

const char *const ImageLayer = "images";

QColor ToQColor(ChartColor color) { return QColor::fromRgbF(color.r, color.g, color.b, color.a); }

QCPScatterStyle::ScatterShape ToShape(ChartMarker marker)
{
    switch (marker) {
    case ChartMarker::None:
        return QCPScatterStyle::ssNone;
    case ChartMarker::Circle:
        return QCPScatterStyle::ssCircle;
    case ChartMarker::Square:
        return QCPScatterStyle::ssSquare;
    case ChartMarker::Triangle:
        return QCPScatterStyle::ssTriangle;
    case ChartMarker::Diamond:
        return QCPScatterStyle::ssDiamond;
    case ChartMarker::Cross:
        return QCPScatterStyle::ssCross;
    case ChartMarker::Plus:
        return QCPScatterStyle::ssPlus;
    }
    return QCPScatterStyle::ssNone;
}

QPen LinePen(const CLineSeries &series)
{
    QPen pen(ToQColor(series.LineColor()));
    pen.setWidthF(series.LineWidth() > 0.0 ? series.LineWidth() : 1.0);
    const std::vector<double> dashes = CLineSeries::ParseDashPattern(series.DashPattern());
    if (!dashes.empty())
        pen.setDashPattern(QVector<qreal>(dashes.begin(), dashes.end()));
    return pen;
}

QCPScatterStyle MarkerStyle(const CLineSeries &series)
{
    if (series.Marker() == ChartMarker::None)
        return QCPScatterStyle(QCPScatterStyle::ssNone);
    return QCPScatterStyle(ToShape(series.Marker()), ToQColor(series.LineColor()),
        ToQColor(series.FillColor()), series.MarkerWidth());
}

void SetLegendEntry(QCPAbstractPlottable *plottable, const CChartObject &object)
{
    plottable->setName(object.Description());
    if (object.Description().isEmpty())
        plottable->removeFromLegend();
}

void AddLineSeries(QCustomPlot *plot, const CLineSeries &series)
{
    // A curve keeps the points in their given order, which a staircase profile needs.
    auto *curve = new QCPCurve(plot->xAxis, plot->yAxis);
    curve->setData(QVector<double>(series.X().begin(), series.X().end()),
        QVector<double>(series.Y().begin(), series.Y().end()));
    curve->setPen(LinePen(series));
    curve->setLineStyle(series.LineWidth() > 0.0 ? QCPCurve::lsLine : QCPCurve::lsNone);
    curve->setScatterStyle(MarkerStyle(series));
    if (series.AreaFill())
        curve->setBrush(QBrush(ToQColor(series.AreaColor())));
    SetLegendEntry(curve, series);
}

void AddErrorBarSeries(QCustomPlot *plot, const CErrorBarSeries &series)
{
    // Error bars need a plottable keyed by x, so this series is drawn as a graph. The graph
    // keeps its points sorted by x and the bars follow the graph's order: the points and their
    // errors are sorted together here, so each bar stays with its own point.
    const std::vector<double> &x = series.X();
    std::vector<std::size_t> order(x.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    // A missing value (NaN) sorts last, which keeps the ordering strict.
    std::stable_sort(order.begin(), order.end(), [&x](std::size_t a, std::size_t b) {
        return !std::isnan(x[a]) && (std::isnan(x[b]) || x[a] < x[b]);
    });
    const bool withBars = series.Lower().size() == x.size() && series.Upper().size() == x.size();
    QVector<double> keys, values, lower, upper;
    for (std::size_t i : order) {
        keys.append(x[i]);
        values.append(series.Y()[i]);
        if (withBars) {
            lower.append(series.Lower()[i]);
            upper.append(series.Upper()[i]);
        }
    }
    auto *graph = plot->addGraph(plot->xAxis, plot->yAxis);
    graph->setData(keys, values, true);
    graph->setPen(LinePen(series));
    graph->setLineStyle(series.LineWidth() > 0.0 ? QCPGraph::lsLine : QCPGraph::lsNone);
    graph->setScatterStyle(MarkerStyle(series));
    SetLegendEntry(graph, series);
    if (!withBars)
        return;
    auto *bars = new QCPErrorBars(plot->xAxis, plot->yAxis);
    bars->removeFromLegend();
    bars->setDataPlottable(graph);
    bars->setData(lower, upper);
    QPen pen(ToQColor(series.LineColor()));
    pen.setWidthF(1.0);
    bars->setPen(pen);
    bars->setWhiskerWidth(6);
}

void AddImage(QCustomPlot *plot, const CChartImage &image)
{
    QImage picture;
    if (!image.File().isEmpty()) {
        picture.load(image.File());
    } else if (image.PixelWidth() > 0) {
        picture = QImage(image.PixelWidth(), image.PixelHeight(), QImage::Format_ARGB32);
        for (int row = 0; row < image.PixelHeight(); ++row) {
            auto *line = reinterpret_cast<QRgb *>(picture.scanLine(row));
            for (int column = 0; column < image.PixelWidth(); ++column)
                line[column] = image.Pixels()[static_cast<std::size_t>(row)
                        * static_cast<std::size_t>(image.PixelWidth())
                    + static_cast<std::size_t>(column)];
        }
    }
    if (picture.isNull())
        return;
    auto *item = new QCPItemPixmap(plot);
    item->setLayer(QLatin1String(ImageLayer));
    item->setPixmap(QPixmap::fromImage(picture));
    item->setScaled(true, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    item->topLeft->setCoords(image.Left(), image.Top());
    item->bottomRight->setCoords(image.Right(), image.Bottom());
}

void ApplyNumberFormat(QCPAxis *axis, const QString &format)
{
    char kind = 'g';
    int precision = 6;
    if (!CChartRegion::ParseNumberFormat(format, &kind, &precision))
        return;
    axis->setNumberFormat(QString(QLatin1Char(kind)));
    axis->setNumberPrecision(precision);
}

// Widens a degenerate range so that a single point or a horizontal line stays visible.
QCPRange PaddedRange(double lower, double upper, double fraction)
{
    if (upper - lower <= 0.0) {
        const double half = lower == 0.0 ? 1.0 : std::abs(lower) * 0.1;
        return QCPRange(lower - half, upper + half);
    }
    const double pad = (upper - lower) * fraction;
    return QCPRange(lower - pad, upper + pad);
}

} // namespace

CChartWidget::CChartWidget(QWidget *parent, int controlId, int styleFlags)
    : QWidget(parent)
    , m_plot(new QCustomPlot(this))
    , m_controlId(controlId)
    , m_styleFlags(styleFlags)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_plot);
    m_plot->addLayer(
        QLatin1String(ImageLayer), m_plot->layer(QStringLiteral("grid")), QCustomPlot::limAbove);
    m_plot->legend->setFont(QFont(font().family(), 8));
    m_plot->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignRight);
    m_plot->setMouseTracking(true);
    m_plot->installEventFilter(this);
    if (!(m_styleFlags & ChartStyleNoContextMenu)) {
        m_plot->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(m_plot, &QWidget::customContextMenuRequested, this, &CChartWidget::ShowContextMenu);
    }
    connect(m_plot, &QCustomPlot::mousePress, this, &CChartWidget::MousePressed);
    connect(m_plot, &QCustomPlot::mouseMove, this, &CChartWidget::MouseMoved);
    connect(m_plot, &QCustomPlot::mouseRelease, this, &CChartWidget::MouseReleased);
    ApplyInteractions();
}

CChartWidget::~CChartWidget() = default;

void CChartWidget::SetRegion(CChartRegion region) { m_region = std::move(region); }

void CChartWidget::Refresh()
{
    m_plot->clearPlottables();
    m_plot->clearItems();
    m_barItem = nullptr;
    m_dragging = false;
    ApplyTitle();
    m_plot->xAxis->setLabel(m_region.BottomLabel());
    m_plot->yAxis->setLabel(m_region.LeftLabel());
    ApplyNumberFormat(m_plot->xAxis, m_region.NumberFormat(ChartAxis::Bottom));
    ApplyNumberFormat(m_plot->yAxis, m_region.NumberFormat(ChartAxis::Left));
    m_plot->xAxis->setRangeReversed(m_region.Reversed(ChartAxis::Bottom));
    m_plot->yAxis->setRangeReversed(m_region.Reversed(ChartAxis::Left));
    bool anyLegend = false;
    for (const auto &object : m_region.Objects()) {
        if (!object->Visible())
            continue;
        switch (object->GetKind()) {
        case CChartObject::Kind::Line:
            AddLineSeries(m_plot, static_cast<const CLineSeries &>(*object));
            break;
        case CChartObject::Kind::ErrorBar:
            AddErrorBarSeries(m_plot, static_cast<const CErrorBarSeries &>(*object));
            break;
        case CChartObject::Kind::Image:
            AddImage(m_plot, static_cast<const CChartImage &>(*object));
            break;
        }
        anyLegend = anyLegend
            || (object->GetKind() != CChartObject::Kind::Image && !object->Description().isEmpty());
    }
    m_plot->legend->setVisible(m_region.LegendVisible() && anyLegend);
    const ChartBounds &view = m_region.ViewRange();
    if (view.valid) {
        m_plot->xAxis->setRange(view.xMin, view.xMax);
        m_plot->yAxis->setRange(view.yMin, view.yMax);
    }
    m_plot->replot();
}

void CChartWidget::ZoomAll()
{
    ChartBounds images;
    ChartBounds data;
    for (const auto &object : m_region.Objects()) {
        if (!object->Visible())
            continue;
        (object->GetKind() == CChartObject::Kind::Image ? images : data).Include(object->Bounds());
    }
    if (!images.valid && !data.valid)
        return;
    // Curves get a small margin so that markers on the edge stay whole; pictures fill the plot.
    ChartBounds all = images;
    if (data.valid) {
        const QCPRange x = PaddedRange(data.xMin, data.xMax, 0.03);
        const QCPRange y = PaddedRange(data.yMin, data.yMax, 0.03);
        all.Include(x.lower, y.lower);
        all.Include(x.upper, y.upper);
    }
    m_plot->xAxis->setRange(PaddedRange(all.xMin, all.xMax, 0.0));
    m_plot->yAxis->setRange(PaddedRange(all.yMin, all.yMax, 0.0));
    m_plot->replot();
}

bool CChartWidget::ExportImage(const QString &path, int widthPx, int heightPx)
{
    if (widthPx <= 0 || heightPx <= 0)
        return false;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return m_plot->savePng(path, widthPx, heightPx);
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return m_plot->saveJpg(path, widthPx, heightPx);
    // Everything else, the report's temporary pictures included, is written as a bitmap.
    return m_plot->saveRastered(path, widthPx, heightPx, 1.0, "BMP");
}

bool CChartWidget::ExportRegion(
    const CChartRegion &region, const QString &path, int widthPx, int heightPx)
{
    CChartWidget chart(nullptr, 0, ChartStyleNoContextMenu | ChartStyleNoMouse);
    chart.SetRegion(region);
    chart.Refresh();
    if (!region.ViewRange().valid)
        chart.ZoomAll();
    return chart.ExportImage(path, widthPx, heightPx);
}

void CChartWidget::SetPickingTool(bool enabled)
{
    m_picking = enabled;
    ApplyInteractions();
}

int CChartWidget::RequestExportText(const QString &path)
{
    for (QWidget *ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        if (auto *owner = dynamic_cast<CChartOwner *>(ancestor))
            return owner->OnExportText(this, path);
    }
    return -1;
}

bool CChartWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_plot && event->type() == QEvent::Leave)
        emit CursorLeft();
    return QWidget::eventFilter(watched, event);
}

void CChartWidget::ShowContextMenu(const QPoint &position)
{
    QMenu menu(this);
    menu.addAction(tr("Export data..."), this, &CChartWidget::AskAndExportText);
    menu.addAction(tr("Show all"), this, &CChartWidget::ZoomAll);
    menu.exec(m_plot->mapToGlobal(position));
}

void CChartWidget::AskAndExportText()
{
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Export data"), QString(), tr("Text files (*.txt);;All files (*)"));
    if (!path.isEmpty())
        RequestExportText(path);
}

void CChartWidget::ApplyInteractions()
{
    QCP::Interactions interactions;
    if (!(m_styleFlags & ChartStyleNoMouse)) {
        interactions |= QCP::iRangeZoom;
        if (!m_picking)
            interactions |= QCP::iRangeDrag;
    }
    m_plot->setInteractions(interactions);
}

void CChartWidget::ApplyTitle()
{
    const QString title = m_region.Title();
    if (title.isEmpty()) {
        if (m_titleElement) {
            m_plot->plotLayout()->remove(m_titleElement);
            m_plot->plotLayout()->simplify();
            m_titleElement = nullptr;
        }
        return;
    }
    if (!m_titleElement) {
        m_plot->plotLayout()->insertRow(0);
        QFont titleFont = font();
        titleFont.setBold(true);
        m_titleElement = new QCPTextElement(m_plot, title, titleFont);
        m_plot->plotLayout()->addElement(0, 0, m_titleElement);
    }
    m_titleElement->setText(title);
}

void CChartWidget::MousePressed(QMouseEvent *event)
{
    if (!m_picking || (m_styleFlags & ChartStyleNoMouse) || event->button() != Qt::LeftButton
        || !m_plot->axisRect()->rect().contains(event->pos()))
        return;
    m_dragging = true;
    m_barX = m_plot->xAxis->pixelToCoord(event->pos().x());
    m_barY1 = m_plot->yAxis->pixelToCoord(event->pos().y());
    m_barItem = new QCPItemLine(m_plot);
    m_barItem->setPen(QPen(Qt::red, 2));
    m_barItem->start->setCoords(m_barX, m_barY1);
    m_barItem->end->setCoords(m_barX, m_barY1);
    m_plot->replot();
}

void CChartWidget::MouseMoved(QMouseEvent *event)
{
    const double x = m_plot->xAxis->pixelToCoord(event->pos().x());
    const double y = m_plot->yAxis->pixelToCoord(event->pos().y());
    if (m_plot->axisRect()->rect().contains(event->pos()))
        emit CursorMoved(x, y);
    if (m_dragging && m_barItem) {
        m_barItem->end->setCoords(m_barX, y);
        m_plot->replot(QCustomPlot::rpQueuedReplot);
    }
}

void CChartWidget::MouseReleased(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    const double y2 = m_plot->yAxis->pixelToCoord(event->pos().y());
    auto bar = std::make_unique<CLineSeries>();
    bar->SetData({ m_barX, m_barX }, { m_barY1, y2 });
    bar->SetLineColor({ 1.0f, 0.0f, 0.0f, 1.0f });
    bar->SetLineWidth(2.0);
    bar->SetMarker(ChartMarker::Plus, 8.0);
    const int id = m_region.Add(std::move(bar));
    // Keep the view where the user drew: only the objects are redrawn.
    const QCPRange xRange = m_plot->xAxis->range();
    const QCPRange yRange = m_plot->yAxis->range();
    Refresh();
    m_plot->xAxis->setRange(xRange);
    m_plot->yAxis->setRange(yRange);
    m_plot->replot();
    emit BarPicked(id, m_barX, m_barY1, y2);
}
