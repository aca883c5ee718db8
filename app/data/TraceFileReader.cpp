// Choice of the reader by extension, and reading the file into memory for it.
#include "app/data/TraceReaders.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

TraceFormat TraceFormatForPath(const QString &path)
{
    // The content is never used to pick the reader: a .dat file is SEG-2 even when it is
    // text, so that what the user sees in the file dialog decides.
    const QString extension = QFileInfo(path).suffix().toUpper();
    if (extension == QLatin1String("TXT"))
        return TraceFormat::Text;
    if (extension == QLatin1String("SEG2") || extension == QLatin1String("SG2")
        || extension == QLatin1String("DAT"))
        return TraceFormat::Seg2;
    if (extension == QLatin1String("SEGY") || extension == QLatin1String("SGY"))
        return TraceFormat::Segy;
    if (extension == QLatin1String("SU"))
        return TraceFormat::Su;
    if (extension == QLatin1String("XLS") || extension == QLatin1String("XLSX"))
        return TraceFormat::Excel;
    if (extension == QLatin1String("DRM"))
        return TraceFormat::Drm;
    return TraceFormat::Unknown;
}

QString TraceFormatName(TraceFormat format)
{
    switch (format) {
    case TraceFormat::Text:
        return QStringLiteral("TXT");
    case TraceFormat::Seg2:
        return QStringLiteral("SEG-2");
    case TraceFormat::Segy:
        return QStringLiteral("SEG-Y");
    case TraceFormat::Su:
        return QStringLiteral("SU");
    case TraceFormat::Excel:
        return QStringLiteral("XLS");
    case TraceFormat::Drm:
        return QStringLiteral("DRM");
    case TraceFormat::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

TraceReadResult ReadTraceFile(const QString &path, const QString &excelSheet)
{
    TraceReadResult result;
    const TraceFormat format = TraceFormatForPath(path);
    if (format == TraceFormat::Unknown) {
        result.detail = QCoreApplication::translate("TraceReaders",
            "Unsupported file extension (expected TXT, SEG2, SG2, DAT, SEGY, SGY, SU, XLS "
            "or DRM)");
        return result;
    }
    if (format == TraceFormat::Excel)
        return ReadExcelTraces(path, excelSheet);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.message = QCoreApplication::translate("TraceReaders", "Couldn't open source file");
        result.detail = result.message + QStringLiteral(": ") + file.errorString();
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.message = QCoreApplication::translate("TraceReaders", "Couldn't open source file");
        result.detail = result.message + QStringLiteral(": ") + file.errorString();
        return result;
    }
    switch (format) {
    case TraceFormat::Text:
        return ReadTextTraces(bytes);
    case TraceFormat::Seg2:
        return ReadSeg2Traces(bytes);
    case TraceFormat::Segy:
        return ReadSegyTraces(bytes);
    case TraceFormat::Su:
        return ReadSuTraces(bytes);
    case TraceFormat::Drm:
        return ReadDrmTraces(bytes);
    default:
        break;
    }
    return result;
}
