// Text export of the traces of a trace set, as the trace chart's "export data" writes it.
#ifndef VELA_APP_DATA_TRACETEXTEXPORT_H
#define VELA_APP_DATA_TRACETEXTEXPORT_H

#include <QByteArray>
#include <QString>

struct TraceSet;

/// The export's bytes: "%Experimental traces", the size line "% <samples>x<traces>", the
/// header "%t[s]" + tab + (tab + trace number) per trace, then one line per sample with the
/// time in seconds and the samples, tab-separated; every line ends in CR LF.
QByteArray TracesText(const TraceSet &set);

/// Writes TracesText to a file created anew. False when the file cannot be written; no
/// message is shown for that.
bool WriteTracesText(const QString &path, const TraceSet &set);

/// A number as the export writes it: "%lf" (six decimals) when that keeps at least six
/// significant digits, otherwise "%e", so that small amplitudes (volts) are not written as 0.
QByteArray ExportNumber(double value);

#endif // VELA_APP_DATA_TRACETEXTEXPORT_H
