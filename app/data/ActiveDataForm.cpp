#include "app/data/ActiveDataForm.h"

#include "app/data/TraceSet.h"
#include "app/data/UserNumber.h"
#include "matrix/CMatrixArchive.h"

#include <QCoreApplication>

#include <cmath>
#include <optional>

namespace {

const QString LineBreak = QStringLiteral("\n");

std::string Utf8(const QString &text) { return text.toStdString(); }

QString FromUtf8(const std::string &text) { return QString::fromStdString(text); }

// One row of the input check: the field is read, its value must be present and not negative.
struct CheckedField
{
    ActiveDataField field;
    QString *text;
    const char *missing;
    const char *negative;
};

} // namespace

void ActiveDataForm::ResetAfterRead(const TraceSet &set)
{
    receiverItems = set.traceCount;
    firstReceiverIndex = set.traceCount > 0 ? 0 : -1;
    lastReceiverIndex = set.traceCount - 1;
    lastReceiverText = set.traceCount > 0 ? QString::number(set.traceCount) : QString();
    timeStep = FormatUserNumber(set.timeStep);
    // The file's own spacing when it states one; otherwise the long-standing "1".
    receiverSpacing =
        set.geometry.hasSpacing ? FormatUserNumber(set.geometry.spacingM) : QStringLiteral("1");
    windowStart = QStringLiteral("0");
    const double end = (set.sampleCount - 1) * set.timeStep;
    windowEnd = FormatUserNumber(end < 0.0 ? 0.0 : end);
    reversedBox = false;
    receiversDepth = QStringLiteral("0");
    sourceDepth = QStringLiteral("0");
    double offset = 0.0;
    sourceOffset = set.geometry.SourceOffset(false, offset) && offset >= 0.0
        ? FormatUserNumber(offset)
        : QString();
    stackedFiles.clear();
}

double ActiveDataForm::SourceOffsetValue(double spacing) const
{
    const std::optional<double> value = ParseUserNumber(sourceOffset);
    return value && *value >= 0.0 ? *value : spacing;
}

ActiveDataCheck ActiveDataForm::Check(TraceSet &set)
{
    ActiveDataCheck result;
    if (!set.loaded) {
        result.message = QCoreApplication::translate("ActiveDataForm", "Data file not loaded");
        return result;
    }
    QString errors;
    auto fail = [&](ActiveDataField field, const QString &message) {
        errors += message;
        if (result.focus == ActiveDataField::None)
            result.focus = field;
    };
    const CheckedField fields[] = {
        { ActiveDataField::SourceDepth, &sourceDepth,
            QT_TRANSLATE_NOOP("ActiveDataForm", "Insert source depth"),
            QT_TRANSLATE_NOOP("ActiveDataForm", "Source depth must be positive") },
        { ActiveDataField::ReceiversDepth, &receiversDepth,
            QT_TRANSLATE_NOOP("ActiveDataForm", "Insert receivers depth"),
            QT_TRANSLATE_NOOP("ActiveDataForm", "Receivers depth must be positive") },
        { ActiveDataField::ReceiverSpacing, &receiverSpacing,
            QT_TRANSLATE_NOOP(
                "ActiveDataForm", "Insert distance between two consecutive receivers"),
            QT_TRANSLATE_NOOP(
                "ActiveDataForm", "Distance between two consecutive receivers must be positive") },
        { ActiveDataField::TimeStep, &timeStep,
            QT_TRANSLATE_NOOP("ActiveDataForm", "Insert time step"),
            QT_TRANSLATE_NOOP("ActiveDataForm", "The time step must be positive") },
        { ActiveDataField::WindowEnd, &windowEnd,
            QT_TRANSLATE_NOOP("ActiveDataForm", "Insert total time"),
            QT_TRANSLATE_NOOP("ActiveDataForm", "Total time must be positive") },
        { ActiveDataField::WindowStart, &windowStart,
            QT_TRANSLATE_NOOP("ActiveDataForm", "Insert initial time"),
            QT_TRANSLATE_NOOP("ActiveDataForm", "Initial time must be positive") },
    };
    double values[6] = {};
    bool valid[6] = {};
    for (int i = 0; i < 6; ++i) {
        const CheckedField &f = fields[i];
        const std::optional<double> value = ParseUserNumber(*f.text);
        if (!value) {
            fail(f.field, QCoreApplication::translate("ActiveDataForm", f.missing) + LineBreak);
        } else if (*value < 0.0) {
            fail(f.field, QCoreApplication::translate("ActiveDataForm", f.negative) + LineBreak);
        } else if (f.field == ActiveDataField::TimeStep && *value == 0.0) {
            // The spectrum divides by the time step; an SU file gives none of its own.
            fail(f.field,
                QCoreApplication::translate(
                    "ActiveDataForm", "The time step must be greater than zero")
                    + LineBreak);
        } else {
            values[i] = *value;
            valid[i] = true;
        }
    }
    if (valid[0])
        set.sourceDepth = values[0];
    if (valid[1])
        set.receiversDepth = values[1];
    if (valid[2]) {
        set.receiverSpacing = values[2];
        receiverSpacing = FormatUserNumber(values[2]);
    }
    if (valid[3]) {
        set.timeStep = values[3];
        timeStep = FormatUserNumber(values[3]);
    }
    if (valid[4])
        set.windowEnd = values[4];
    if (valid[5]) {
        set.windowStart = values[5];
        windowStart = FormatUserNumber(values[5]);
    }

    if (set.windowEnd <= set.windowStart) {
        fail(ActiveDataField::WindowEnd,
            QCoreApplication::translate(
                "ActiveDataForm", "Total time must be greater than initial time")
                + LineBreak);
    } else if (set.timeStep > 0.0) {
        set.windowSampleCount = int(std::min(std::floor(set.windowEnd / set.timeStep), 2.0e9)) + 1;
    }

    if (!sourceOffset.trimmed().isEmpty()) {
        const std::optional<double> offset = ParseUserNumber(sourceOffset);
        if (!offset || *offset < 0.0)
            fail(ActiveDataField::SourceOffset,
                QCoreApplication::translate("ActiveDataForm",
                    "The source offset must be a distance of at least 0 m (empty: one spacing)")
                    + LineBreak);
        else
            sourceOffset = FormatUserNumber(*offset);
    }

    set.reversed = reversedBox;
    set.firstReceiver = firstReceiverIndex < 0 ? 0 : firstReceiverIndex;
    set.lastReceiver =
        lastReceiverIndex >= 0 ? lastReceiverIndex : lastReceiverText.trimmed().toInt();
    // The list only offers receivers of the record; keep a typed or stale value inside it.
    if (set.lastReceiver > set.traceCount - 1)
        set.lastReceiver = set.traceCount - 1;
    if (set.lastReceiver < set.firstReceiver)
        fail(ActiveDataField::LastReceiver,
            QCoreApplication::translate("ActiveDataForm", "Use at least one receiver"));
    else if (set.lastReceiver - set.firstReceiver + 1 < 2)
        // A spectrum over offsets needs at least two of them.
        fail(ActiveDataField::LastReceiver,
            QCoreApplication::translate("ActiveDataForm", "Use at least two receivers")
                + LineBreak);
    else if (set.lastReceiver - set.firstReceiver + 1 > MaxAnalysedReceivers)
        fail(ActiveDataField::LastReceiver,
            QCoreApplication::translate("ActiveDataForm", "Use at most %1 receivers")
                    .arg(MaxAnalysedReceivers)
                + LineBreak);

    if (!errors.isEmpty()) {
        result.message =
            QCoreApplication::translate("ActiveDataForm", "Errors:") + LineBreak + errors;
        return result;
    }
    result.ok = true;
    return result;
}

QString ActiveDataForm::GeometryNote(const TraceSet &set, bool reversedBox)
{
    const TraceGeometry &g = set.geometry;
    QStringList parts;
    if (g.hasSpacing)
        parts << QCoreApplication::translate("ActiveDataForm", "spacing %1 m")
                     .arg(FormatUserNumber(g.spacingM));
    double offset = 0.0, other = 0.0;
    if (g.SourceOffset(reversedBox, offset) && g.SourceOffset(!reversedBox, other)
        && other < offset) {
        // The source stands nearer the other end of the spread: the reversal box is likely
        // wanted (or wrongly ticked).
        parts << QCoreApplication::translate(
            "ActiveDataForm", "source %1 m from the first receiver but %2 m from the last one")
                     .arg(FormatUserNumber(offset), FormatUserNumber(other));
    } else if (g.SourceOffset(reversedBox, offset)) {
        parts << QCoreApplication::translate(
            "ActiveDataForm", "source %1 m from the first receiver")
                     .arg(FormatUserNumber(offset));
    }
    if (g.hasDelay && g.delayMs < 0.0)
        parts << QCoreApplication::translate("ActiveDataForm", "trigger at %1 ms")
                     .arg(FormatUserNumber(-g.delayMs));
    else if (g.hasDelay && g.delayMs > 0.0)
        parts << QCoreApplication::translate(
            "ActiveDataForm", "first sample %1 ms after the trigger")
                     .arg(FormatUserNumber(g.delayMs));
    if (parts.isEmpty())
        return QString();
    return QCoreApplication::translate("ActiveDataForm", "from the file: %1")
        .arg(parts.join(QStringLiteral(", ")));
}

QString ActiveDataForm::TimeStepNotice(const TraceReadResult &read, double timeStep)
{
    if (!read.hasTimeStep)
        return QCoreApplication::translate("ActiveDataForm",
            "The file carries no time step: the time step in force, %1 ms, was kept. Please "
            "type the time step used in the field.")
            .arg(FormatUserNumber(timeStep));
    if (timeStep < PlausibleTimeStepMinMs || timeStep > PlausibleTimeStepMaxMs)
        return QCoreApplication::translate("ActiveDataForm",
            "The time step read from the file is %1 ms, taking the file's times in %2. If the "
            "file uses another unit, please correct the time step.")
            .arg(FormatUserNumber(timeStep), read.timeUnit);
    return QString();
}

FieldEdit ActiveDataForm::EditTimeStep(TraceSet &set)
{
    const std::optional<double> value = ParseUserNumber(timeStep);
    if (!value || !(*value > 0.0 && *value <= 1000.0))
        return FieldEdit::Invalid;
    if (*value == set.timeStep)
        return FieldEdit::Unchanged;
    set.timeStep = *value;
    timeStep = FormatUserNumber(*value);
    return FieldEdit::Stored;
}

FieldEdit ActiveDataForm::EditWindowStart(TraceSet &set)
{
    const std::optional<double> value = ParseUserNumber(windowStart);
    if (!value || !(*value >= 0.0 && *value <= set.windowEnd))
        return FieldEdit::Invalid;
    if (*value == set.windowStart)
        return FieldEdit::Unchanged;
    set.windowStart = *value;
    windowStart = FormatUserNumber(*value);
    return FieldEdit::Stored;
}

FieldEdit ActiveDataForm::EditWindowEnd(TraceSet &set)
{
    const std::optional<double> value = ParseUserNumber(windowEnd);
    if (!value || !(*value >= set.windowStart))
        return FieldEdit::Invalid;
    if (*value == set.windowEnd)
        return FieldEdit::Unchanged;
    set.windowEnd = *value;
    windowEnd = FormatUserNumber(*value);
    return FieldEdit::Stored;
}

QString ActiveDataForm::FieldMessage(ActiveDataField field)
{
    // Both texts are the program's long-standing ones, spelling included.
    return field == ActiveDataField::TimeStep
        ? QCoreApplication::translate("ActiveDataForm", "Invald step")
        : QCoreApplication::translate("ActiveDataForm", "Invalid valuee");
}

void ActiveDataForm::SaveSection(CMatrixArchive &ar, const TraceSet &set, const char *tag) const
{
    ar.WriteLine(std::string(28, '='));
    ar.WriteLine(tag);
    const bool extended = set.loaded && (!sourceOffset.isEmpty() || !stackedFiles.isEmpty());
    // Without the newer fields the bytes stay those of the first version.
    ar.WriteFloat32(extended ? 2.0f : 1.0f);
    if (!set.loaded) {
        ar.WriteLine("0");
        return;
    }
    ar.WriteLine("1");
    ar << set.traces;
    ar.WriteLine(Utf8(fileName));
    ar.WriteLine(Utf8(receiversDepth));
    ar.WriteLine(Utf8(sourceDepth));
    ar.WriteLine(Utf8(timeStep));
    ar.WriteLine(Utf8(receiverSpacing));
    ar.WriteInt32(firstReceiverIndex);
    ar.WriteInt32(lastReceiverIndex);
    ar.WriteLine(Utf8(windowEnd));
    ar.WriteLine(Utf8(windowStart));
    ar << set.sampleAxis;
    ar.WriteLine(reversedBox ? "1" : "0");
    if (!extended)
        return;
    ar.WriteLine(Utf8(sourceOffset));
    ar.WriteInt32(static_cast<int>(stackedFiles.size()));
    for (const QString &name : stackedFiles)
        ar.WriteLine(Utf8(name));
}

bool ActiveDataForm::LoadSection(CMatrixArchive &ar, TraceSet &set, const char *tag)
{
    ar.ReadLine(); // the separator
    if (ar.ReadLine() != tag)
        CMatrixArchive::ThrowBadClass();
    const float version = ar.ReadFloat32();
    if (ar.ReadLine() != "1") {
        set.loaded = false;
        return false;
    }
    CMatrix traces;
    ar >> traces;
    const QString storedFileName = FromUtf8(ar.ReadLine());
    const QString storedReceiversDepth = FromUtf8(ar.ReadLine());
    const QString storedSourceDepth = FromUtf8(ar.ReadLine());
    const QString storedTimeStep = FromUtf8(ar.ReadLine());
    const QString storedSpacing = FromUtf8(ar.ReadLine());
    const int storedFirst = ar.ReadInt32();
    const int storedLast = ar.ReadInt32();
    const QString storedWindowEnd = FromUtf8(ar.ReadLine());
    const QString storedWindowStart = FromUtf8(ar.ReadLine());
    CMatrix axis;
    ar >> axis;
    const bool storedReversed = ar.ReadLine() == "1";
    QString storedOffset;
    QStringList storedStack;
    if (version >= 1.5f) {
        storedOffset = FromUtf8(ar.ReadLine());
        const int count = ar.ReadInt32();
        // Each name takes at least its line end: a count beyond that is a corrupt section.
        if (count < 0 || count > 100000)
            CMatrixArchive::ThrowBadClass();
        for (int i = 0; i < count; ++i)
            storedStack << FromUtf8(ar.ReadLine());
    }
    if (axis.GetRows() != traces.GetRows() || axis.GetCols() != 1 || traces.GetCols() < 1
        || traces.GetRows() < 1)
        CMatrixArchive::ThrowBadClass();

    // Everything read: only now does the page change.
    set.traces = traces;
    set.sampleAxis = axis;
    set.traceCount = traces.GetCols();
    set.sampleCount = traces.GetRows();
    set.fileName = storedFileName;
    set.geometry = TraceGeometry(); // the document does not hold what the file said
    fileName = storedFileName;
    receiversDepth = storedReceiversDepth;
    sourceDepth = storedSourceDepth;
    timeStep = storedTimeStep;
    receiverSpacing = storedSpacing;
    windowEnd = storedWindowEnd;
    windowStart = storedWindowStart;
    receiverItems = set.traceCount;
    auto inList = [&](int index, int fallback) {
        return index >= 0 && index < receiverItems ? index : fallback;
    };
    firstReceiverIndex = inList(storedFirst, 0);
    lastReceiverIndex = inList(storedLast, receiverItems - 1);
    lastReceiverText = QString::number(lastReceiverIndex + 1);
    reversedBox = storedReversed;
    sourceOffset = storedOffset;
    stackedFiles = storedStack;
    set.reversed = storedReversed;
    set.firstReceiver = firstReceiverIndex;
    set.lastReceiver = lastReceiverIndex;
    set.loaded = true;
    set.timeStep = ParseUserNumber(timeStep).value_or(0.0);
    set.windowEnd = ParseUserNumber(windowEnd).value_or(0.0);
    set.windowStart = ParseUserNumber(windowStart).value_or(0.0);
    return true;
}

QList<QPair<QString, QString>> ActiveDataForm::ReportRows(const TraceSet &set, bool reversed)
{
    // The report writer escapes what RTF needs escaped: the path goes as it is.
    const QString path = set.fileName;
    QList<QPair<QString, QString>> rows;
    rows.append({ QCoreApplication::translate("ActiveDataForm", "Traces file name"), path });
    rows.append({ QCoreApplication::translate("ActiveDataForm", "Number of sensors"),
        QString::number(set.traceCount) });
    rows.append({ QCoreApplication::translate("ActiveDataForm", "Sensors distance:"),
        FormatUserNumber(set.receiverSpacing) + QStringLiteral("m") });
    rows.append({ QCoreApplication::translate("ActiveDataForm", "Number of time samples"),
        QString::number(set.sampleCount) });
    rows.append({ QCoreApplication::translate("ActiveDataForm", "Acquisition timestep"),
        FormatUserNumber(set.timeStep) + QStringLiteral("ms") });
    rows.append(
        { QCoreApplication::translate("ActiveDataForm", "Number of sensors used for the analysis"),
            QString::number(set.lastReceiver + 1) });
    rows.append({ QCoreApplication::translate(
                      "ActiveDataForm", "The interval considered for the analysis starts at"),
        FormatUserNumber(set.windowStart) + QStringLiteral("ms") });
    rows.append({ QCoreApplication::translate(
                      "ActiveDataForm", "The interval considered for the analysis ends at"),
        FormatUserNumber(set.windowEnd) + QStringLiteral("ms") });
    rows.append({ reversed ? QCoreApplication::translate("ActiveDataForm",
                      "Sensors are reverted (the last one in the file is the fist one "
                      "for the analysis)")
                           : QCoreApplication::translate("ActiveDataForm",
                               "Sensors are not reverted (the last one in the file is the last "
                               "one for the analysis)"),
        QString() });
    return rows;
}
