// The active experimental-data page without its widgets: the texts and list states of its
// controls, the checks of the typed values, the document section and the report rows.
#ifndef VELA_APP_DATA_ACTIVEDATAFORM_H
#define VELA_APP_DATA_ACTIVEDATAFORM_H

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class CMatrixArchive;
struct TraceSet;
struct TraceReadResult;

/// The fields of the page that a check can send the focus to.
enum class ActiveDataField {
    None,
    SourceDepth,
    ReceiversDepth,
    ReceiverSpacing,
    TimeStep,
    WindowEnd,
    WindowStart,
    LastReceiver,
    SourceOffset
};

/// Outcome of the input check: ok, or the message to show (already introduced by "Errors:")
/// and the first offending field.
struct ActiveDataCheck
{
    bool ok = false;
    QString message;
    ActiveDataField focus = ActiveDataField::None;
};

/// Outcome of the check a field runs when it loses the focus.
enum class FieldEdit {
    Invalid, ///< show the message (FieldMessage) and give the focus back
    Unchanged, ///< valid and equal to the stored value: nothing to do
    Stored ///< valid and new: stored in the trace set; rewrite the field and redraw
};

/// Tag line of the page's document section.
inline constexpr const char *ActiveDataSectionTag = "10 RSP1";

/// Contents of the page's controls as plain data. Texts are kept exactly as typed.
class ActiveDataForm
{
public:
    QString fileName;
    QString receiversDepth = QStringLiteral("0"); ///< hidden field, always "0"
    QString sourceDepth = QStringLiteral("0"); ///< hidden field, always "0"
    QString timeStep; ///< [ms]
    QString receiverSpacing; ///< [m]
    QString windowStart; ///< [ms]
    QString windowEnd; ///< [ms]
    int receiverItems = 0; ///< both receiver lists hold the items "1" .. receiverItems
    int firstReceiverIndex = -1; ///< selection of the (hidden) first-receiver list; -1 none
    int lastReceiverIndex = -1; ///< selection of "Use receivers up to"; -1 none
    QString lastReceiverText; ///< text of that list, used only when it has no selection
    bool reversedBox = false; ///< "Mark if source is near the last receiver."
    /// Distance from the source to the first receiver [m] as typed; empty means one spacing.
    QString sourceOffset;
    /// The further files summed trace by trace onto `fileName`'s record, in stacking order.
    QStringList stackedFiles;

    /// The source offset in force: the typed value, or one receiver spacing when the field is
    /// empty or not a distance of at least 0 m.
    double SourceOffsetValue(double spacing) const;

    /// The fields after a read (fresh or appended): lists 1 .. N with items 1 and N selected,
    /// the time step of the set, the spacing the file states (else "1"), window "0" to (samples -
    /// 1) x time step (0 when negative), reversed box cleared, depths "0". The file name is not
    /// touched. The source offset is the file's (from the first receiver) when it states
    /// one, else empty (one spacing); the stacked files are forgotten.
    void ResetAfterRead(const TraceSet &set);

    /// The input check before leaving the page. Reads every field back into the set, in the
    /// order source depth, receivers depth, spacing, time step, window end, window start, and
    /// collects one message per problem. Valid spacing, time step and window start are written
    /// back into their fields in "%g" form. On success the window sample count, the reversed
    /// flag and the receiver range of the set are updated. A time step of 0 is refused (the
    /// spectrum divides by it), and so are fewer than two receivers and more than 256 (the
    /// spectrum holds 256 receiver columns).
    ActiveDataCheck Check(TraceSet &set);

    /// Immediate check of the time-step field: a number with 0 < value <= 1000 ms.
    FieldEdit EditTimeStep(TraceSet &set);
    /// Immediate check of the window start: 0 <= value <= stored window end.
    FieldEdit EditWindowStart(TraceSet &set);
    /// Immediate check of the window end: value >= stored window start.
    FieldEdit EditWindowEnd(TraceSet &set);
    /// What the file said about the geometry, for the information line: "from the file:
    /// spacing 2 m, source 10 m from the first receiver, trigger at 500 ms"; empty when it
    /// said nothing. The source offset counts from the first receiver of the analysis, the
    /// last one of the file when `reversedBox` is checked; a source nearer the other end is
    /// pointed out.
    static QString GeometryNote(const TraceSet &set, bool reversedBox);
    /// The notice after a read whose time step needs the user's eye: the file carries none (the
    /// step in force, `timeStep`, was kept), or the step lies outside the plausible range
    /// (the value and the unit the file's times were taken in). Empty otherwise.
    static QString TimeStepNotice(const TraceReadResult &read, double timeStep);
    /// The message of a refused immediate check of `field`.
    static QString FieldMessage(ActiveDataField field);

    /// Writes the page's document section: separator, tag "10 RSP1", version 1.0, then "0"
    /// when nothing is loaded, else "1", the traces, the texts of the file-name, receivers-depth,
    /// source-depth, time-step and spacing fields, both list selections (int32), the window end
    /// and start texts, the sample axis and "1"/"0" for the reversed box. Throws the archive's
    /// exceptions on write failures. The passive page writes the same section under its own tag.
    /// When a source offset is typed or files are stacked, the version is 2.0 and the source
    /// offset text, the count of stacked files (int32) and their names follow; otherwise the
    /// bytes are those of version 1.0. Reading a 1.0 section gives an empty offset, no stack.
    void SaveSection(
        CMatrixArchive &ar, const TraceSet &set, const char *tag = ActiveDataSectionTag) const;
    /// Reads what SaveSection wrote into the form and the set. Returns whether traces were
    /// stored (the page then enables its controls). A section of another page, or one whose
    /// traces and axis disagree, throws CArchiveException(BadClass); a short one EndOfFile.
    bool LoadSection(CMatrixArchive &ar, TraceSet &set, const char *tag = ActiveDataSectionTag);

    /// The report rows (label, value) of the "Experimental data" chapter. `reversed` is the
    /// flag as the analysis holds it.
    static QList<QPair<QString, QString>> ReportRows(const TraceSet &set, bool reversed);
};

/// The number of receivers the spectrum can take.
inline constexpr int MaxAnalysedReceivers = 256;

#endif // VELA_APP_DATA_ACTIVEDATAFORM_H
