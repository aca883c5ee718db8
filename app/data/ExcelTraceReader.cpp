// Excel reader: one worksheet, column 0 the time and the other columns the traces.
#include "app/data/CExcelAccess.h"
#include "app/data/TraceReaders.h"
#include "matrix/CMatrix.h"

#include <QCoreApplication>

TraceReadResult ReadExcelTraces(const QString &path, const QString &sheet)
{
    TraceReadResult result;
    CMatrix table;
    QString message;
    if (CExcelAccess::ReadSheet(path, sheet, table, &message) < 0) {
        result.message = message;
        result.detail = message;
        return result;
    }
    if (table.GetRows() < 2 || table.GetCols() < 2) {
        result.detail = QCoreApplication::translate("TraceReaders",
            "The sheet needs a time column, at least one trace column and at least two "
            "numeric rows");
        return result;
    }
    result.samples = table.GetRows();
    result.traces = table.GetCols() - 1;
    result.values.reserve(size_t(result.samples) * size_t(result.traces));
    for (int r = 0; r < result.samples; ++r) {
        for (int c = 1; c < table.GetCols(); ++c)
            result.values.push_back(table(r, c));
    }
    // The sheet's time column is taken in microseconds, so the step in ms is the difference
    // of its first two rows times 0.001.
    result.hasTimeStep = true;
    result.timeStepMs = (table(1, 0) - table(0, 0)) * 0.001;
    result.timeUnit = QCoreApplication::translate("TraceReaders", "microseconds");
    result.ok = true;
    return result;
}
