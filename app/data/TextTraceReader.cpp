// Text reader: one row per time sample, the time in seconds and then one column per trace.
#include "app/data/TraceReaders.h"
#include "app/data/UserNumber.h"

#include <QCoreApplication>

namespace {

// Numbers are taken one after another from the start of the line until one cannot be read.
std::vector<double> NumbersOfLine(const QByteArray &line)
{
    std::vector<double> numbers;
    const char *p = line.constData();
    const char *end = p + line.size();
    double value = 0.0;
    while (const char *next = ScanDouble(p, end, value)) {
        numbers.push_back(value);
        p = next;
    }
    return numbers;
}

} // namespace

TraceReadResult ReadTextTraces(const QByteArray &bytes)
{
    TraceReadResult result;
    std::vector<double> times;
    size_t columns = 0;
    int lineNumber = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype stop = bytes.indexOf('\n', start);
        if (stop < 0)
            stop = bytes.size();
        QByteArray line = bytes.mid(start, stop - start);
        start = stop + 1;
        ++lineNumber;
        line.replace(',', '.');
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('%'))
            continue;
        std::vector<double> numbers = NumbersOfLine(line);
        if (columns == 0) {
            // The first data line fixes the column count; later lines may carry more
            // numbers, which are dropped.
            columns = numbers.size();
            if (columns < 2) {
                result.detail = QCoreApplication::translate("TraceReaders",
                    "Line %1: a data line needs a time and at least one trace "
                    "value")
                                    .arg(lineNumber);
                return result;
            }
        } else if (numbers.size() < columns) {
            result.detail = QCoreApplication::translate(
                "TraceReaders", "Line %1 holds %2 numbers where %3 are expected")
                                .arg(lineNumber)
                                .arg(numbers.size())
                                .arg(columns);
            return result;
        }
        times.push_back(numbers[0]);
        result.values.insert(result.values.end(), numbers.begin() + 1,
            numbers.begin() + static_cast<std::ptrdiff_t>(columns));
    }
    if (columns == 0) {
        result.values.clear();
        result.detail = QCoreApplication::translate("TraceReaders", "The file holds no data lines");
        return result;
    }
    // The time step comes from the second and third time values; a record of fewer rows
    // gives none, and is too short to analyse anyway.
    if (times.size() < 3) {
        result.values.clear();
        result.detail = QCoreApplication::translate("TraceReaders",
            "The file holds fewer than three data lines, so no time step can be "
            "derived from its time column");
        return result;
    }
    result.samples = static_cast<int>(times.size());
    result.traces = static_cast<int>(columns - 1);
    result.hasTimeStep = true;
    result.timeStepMs = (times[2] - times[1]) * 1000.0;
    result.timeUnit = QCoreApplication::translate("TraceReaders", "seconds");
    result.ok = true;
    return result;
}
