// The active data page's chart region and report chapter drawn from its data, so that the page
// and vela-cli write the same chapter.
#ifndef VELA_APP_DATA_ACTIVEDATACHAPTER_H
#define VELA_APP_DATA_ACTIVEDATACHAPTER_H

#include "app/data/TraceChart.h"

#include <QString>

class CChartRegion;
class ReportWriter;

/// Fills `region` with the traces of `set` up to lastReceiverIndex as the page shows them
/// ("Measures", time growing downwards) and returns the chart's information line.
QString FillTraceChartRegion(
    CChartRegion &region, const TraceSet &set, int lastReceiverIndex, const TraceChartView &view);

/// The chapter "Experimental data": the report rows of the set (the last one is the sentence
/// on the order of the sensors) and the chart as its figure. Nothing when `rows` is empty.
void WriteActiveDataChapter(
    ReportWriter &report, const QList<QPair<QString, QString>> &rows, const CChartRegion &chart);

#endif // VELA_APP_DATA_ACTIVEDATACHAPTER_H
