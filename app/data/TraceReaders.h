// The six trace file readers (text, SEG-2, SEG-Y, SU, Excel sheet, DRM) and the choice
// among them by file extension. Plain code: no widgets, no message boxes.
#ifndef VELA_APP_DATA_TRACEREADERS_H
#define VELA_APP_DATA_TRACEREADERS_H

#include <QByteArray>
#include <QString>

#include <vector>

/// The file kinds a trace file can be read as. The kind follows from the extension alone.
enum class TraceFormat { Unknown, Text, Seg2, Segy, Su, Excel, Drm };

/// Where the receivers and the source stood and when recording started, as far as a file
/// states it. Positions are along the line in metres, in the file's own origin.
struct TraceGeometry
{
    /// The receivers are evenly spaced (at least two, distinct positions), `spacingM` apart.
    bool hasSpacing = false;
    double spacingM = 0.0;
    /// Positions of the first and the last trace's receiver are known: a single receiver, or
    /// evenly spaced ones. Uneven positions are not kept.
    bool hasReceivers = false;
    double firstReceiverM = 0.0;
    double lastReceiverM = 0.0;
    bool hasSource = false;
    double sourceM = 0.0;
    /// Time of the first sample relative to the trigger [ms]: -500 means that recording began
    /// half a second before the shot.
    bool hasDelay = false;
    double delayMs = 0.0;

    /// Distance from the source to the first receiver used (the last one of the file when the
    /// receiver order is reversed). False when the file lacks the source or the receivers.
    bool SourceOffset(bool reversed, double &offset) const;
    /// Keeps receiver positions when they are evenly spaced (or a single one).
    void SetReceiverPositions(const std::vector<double> &positions);
};

/// What one reader made of one file.
///
/// On success `samples` x `traces` amplitudes, as decoded (no gain or scaling added), are in
/// `values`, row-major: the sample s of trace t is values[s * traces + t]. `hasTimeStep` tells
/// whether the file gave a time step; when it did not, the caller keeps the one in force.
///
/// On failure `message` holds the text the reader itself shows the user (for example
/// "Couldn't open source file"; it may be empty when only the page's "Incorrect file format"
/// is shown) and `detail` always says in plain words what was wrong with the file.
struct TraceReadResult
{
    bool ok = false;
    QString message;
    QString detail;
    int samples = 0;
    int traces = 0;
    std::vector<double> values;
    bool hasTimeStep = false;
    double timeStepMs = 0.0; ///< sampling interval [ms], valid when hasTimeStep
    /// How the file's own times were read ("microseconds", "seconds", ...), for the notice
    /// shown when the time step comes out implausible.
    QString timeUnit;
    TraceGeometry geometry;

    double At(int sample, int trace) const
    {
        return values[static_cast<size_t>(sample) * static_cast<size_t>(traces)
            + static_cast<size_t>(trace)];
    }
};

/// The time steps a field record plausibly has [ms]; a step outside them usually means that the
/// file's times were written in another unit than the reader takes them in.
inline constexpr double PlausibleTimeStepMinMs = 0.001;
inline constexpr double PlausibleTimeStepMaxMs = 100.0;

/// The reader for a path, from its extension compared in upper case: TXT; SEG2, SG2, DAT;
/// SEGY, SGY; SU; XLS (and XLSX); DRM. Anything else is Unknown.
TraceFormat TraceFormatForPath(const QString &path);

/// Short name of a format as vela-cli prints it: TXT, SEG-2, SEG-Y, SU, XLS, DRM.
QString TraceFormatName(TraceFormat format);

/// Reads a trace file with the reader its extension selects. `excelSheet` is the worksheet
/// name for Excel files (with or without a trailing "$"); other readers ignore it.
/// An unknown extension fails with a detail naming the supported ones.
TraceReadResult ReadTraceFile(const QString &path, const QString &excelSheet = QString());

/// The single readers on a file's bytes (the whole file). They never read outside `bytes`:
/// counts and offsets from the file are checked against its size before use.
TraceReadResult ReadTextTraces(const QByteArray &bytes);
TraceReadResult ReadSeg2Traces(const QByteArray &bytes);
TraceReadResult ReadSegyTraces(const QByteArray &bytes);
TraceReadResult ReadSuTraces(const QByteArray &bytes);
TraceReadResult ReadDrmTraces(const QByteArray &bytes);

/// The Excel reader works on a path because the workbook libraries open files themselves.
/// Column 0 is time and the other columns are traces.
TraceReadResult ReadExcelTraces(const QString &path, const QString &sheet);

#endif // VELA_APP_DATA_TRACEREADERS_H
