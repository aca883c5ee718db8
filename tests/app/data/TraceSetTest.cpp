// The trace set and the active page's logic without widgets: typed numbers, replace, append,
// reverse, the input check and its messages, the immediate field checks, the document
// section, the traces text export, the chart geometry and the report rows.
#include "app/data/TraceSet.h"
#include "app/data/ActiveDataForm.h"
#include "app/data/TraceChart.h"
#include "app/data/TraceReaders.h"
#include "app/data/TraceTextExport.h"
#include "app/data/UserNumber.h"
#include "matrix/CMatrixArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// A read of `samples` x `traces` where sample s of trace t is 100 * (t + 1) + s.
TraceReadResult Read(int samples, int traces, double timeStepMs = 0.5, bool hasTimeStep = true)
{
    TraceReadResult r;
    r.ok = true;
    r.samples = samples;
    r.traces = traces;
    r.hasTimeStep = hasTimeStep;
    r.timeStepMs = timeStepMs;
    for (int s = 0; s < samples; ++s) {
        for (int t = 0; t < traces; ++t)
            r.values.push_back(100.0 * (t + 1) + s);
    }
    return r;
}

TraceSet LoadedSet(int samples = 4, int traces = 3, double timeStepMs = 0.5)
{
    TraceSet set;
    set.Replace(Read(samples, traces, timeStepMs), QStringLiteral("/data/shot.sg2"));
    return set;
}

std::vector<double> ColumnOf(const CMatrix &m, int c)
{
    std::vector<double> column;
    for (int r = 0; r < m.GetRows(); ++r)
        column.push_back(m(r, c));
    return column;
}

} // namespace

// ---- typed numbers -------------------------------------------------------------------------

TEST(UserNumber, ParsesLikePercentLfAfterCommasBecomePoints)
{
    const struct
    {
        const char *text;
        bool valid;
        double value;
    } cases[] = {
        { "0,5", true, 0.5 },
        { "0.5", true, 0.5 },
        { "  12 m", true, 12.0 },
        { "-3", true, -3.0 },
        { "+4,25", true, 4.25 },
        { "1e3", true, 1000.0 },
        { "1,5e-1", true, 0.15 },
        { ".5", true, 0.5 },
        { "7.", true, 7.0 },
        { "", false, 0.0 },
        { "   ", false, 0.0 },
        { "abc", false, 0.0 },
        { "- 3", false, 0.0 },
        { "--3", false, 0.0 },
        { "1,2,3", true, 1.2 },
        { "nan", false, 0.0 },
        { "-inf", false, 0.0 },
        { "1e999", false, 0.0 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<double> value = ParseUserNumber(QString::fromLatin1(c.text));
        ASSERT_EQ(value.has_value(), c.valid);
        if (c.valid) {
            EXPECT_DOUBLE_EQ(*value, c.value);
        }
    }
}

TEST(UserNumber, WritesBackInShortestGeneralForm)
{
    const struct
    {
        double value;
        const char *text;
    } cases[] = {
        { 0.5, "0.5" },
        { 1.0, "1" },
        { 1234567.0, "1.23457e+06" },
        { 0.0001, "0.0001" },
        { 0.00001, "1e-05" },
        { -2.5, "-2.5" },
        { 0.0, "0" },
        { 511.5, "511.5" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatUserNumber(c.value), QString::fromLatin1(c.text));
    }
}

// ---- replace, append, reverse --------------------------------------------------------------

TEST(TraceSetReplace, SetsCountsAxisWindowAndLoaded)
{
    TraceSet set;
    set.reversed = true;
    set.windowStart = 7.0;
    set.Replace(Read(4, 3, 0.25), QStringLiteral("/x/a.sg2"));
    EXPECT_TRUE(set.loaded);
    EXPECT_EQ(set.fileName, QStringLiteral("/x/a.sg2"));
    EXPECT_EQ(set.traces.GetRows(), 4);
    EXPECT_EQ(set.traces.GetCols(), 3);
    EXPECT_EQ(set.traceCount, 3);
    EXPECT_EQ(set.sampleCount, 4);
    EXPECT_EQ(ColumnOf(set.sampleAxis, 0), (std::vector<double> { 0, 1, 2, 3 }));
    EXPECT_EQ(ColumnOf(set.traces, 2), (std::vector<double> { 300, 301, 302, 303 }));
    EXPECT_DOUBLE_EQ(set.timeStep, 0.25);
    EXPECT_EQ(set.windowStart, 0.0);
    EXPECT_DOUBLE_EQ(set.windowEnd, 1.0);
    EXPECT_FALSE(set.reversed);
}

TEST(TraceSetReplace, FileWithoutTimeStepKeepsTheOneInForce)
{
    TraceSet set = LoadedSet(4, 3, 0.5);
    set.Replace(Read(6, 2, 9.0, false), QStringLiteral("/x/b.su"));
    EXPECT_DOUBLE_EQ(set.timeStep, 0.5);
    EXPECT_DOUBLE_EQ(set.windowEnd, 3.0);
}

TEST(TraceSetAppend, PlacesNewColumnsAfterTheCurrentOnes)
{
    TraceSet set = LoadedSet(4, 2, 0.5);
    TraceReadResult second = Read(4, 3, 0.25);
    ASSERT_TRUE(set.Append(second, QStringLiteral("/x/second.sg2")));
    EXPECT_EQ(set.traceCount, 5);
    EXPECT_EQ(set.traces.GetCols(), 5);
    EXPECT_EQ(ColumnOf(set.traces, 1), (std::vector<double> { 200, 201, 202, 203 }));
    EXPECT_EQ(ColumnOf(set.traces, 2), (std::vector<double> { 100, 101, 102, 103 }));
    EXPECT_EQ(ColumnOf(set.traces, 4), (std::vector<double> { 300, 301, 302, 303 }));
    EXPECT_DOUBLE_EQ(set.timeStep, 0.25);
    EXPECT_EQ(set.fileName, QStringLiteral("/x/second.sg2"));
}

TEST(TraceSetAppend, OtherSampleCountLeavesTheSetUnchanged)
{
    TraceSet set = LoadedSet(4, 2, 0.5);
    set.windowStart = 0.5;
    const CMatrix before = set.traces;
    EXPECT_FALSE(set.Append(Read(5, 3, 0.25), QStringLiteral("/x/other.sg2")));
    EXPECT_EQ(set.traceCount, 2);
    EXPECT_EQ(set.sampleCount, 4);
    EXPECT_DOUBLE_EQ(set.timeStep, 0.5);
    EXPECT_DOUBLE_EQ(set.windowStart, 0.5);
    EXPECT_EQ(set.fileName, QStringLiteral("/data/shot.sg2"));
    EXPECT_EQ(set.traces.ToVector(), before.ToVector());
    EXPECT_EQ(TraceMergeMessage(),
        QStringLiteral(
            "The traces cannot be merged (they have a different number of time samples)"));
}

TEST(TraceSetReverse, OddCountKeepsTheMiddleAndTwiceRestores)
{
    TraceSet set = LoadedSet(3, 5);
    const std::vector<double> asRead = set.traces.ToVector();
    const CMatrix shared = set.traces; // a copy made before must not see the change
    set.Reverse();
    EXPECT_EQ(ColumnOf(set.traces, 0), (std::vector<double> { 500, 501, 502 }));
    EXPECT_EQ(ColumnOf(set.traces, 2), (std::vector<double> { 300, 301, 302 }));
    EXPECT_EQ(ColumnOf(set.traces, 4), (std::vector<double> { 100, 101, 102 }));
    EXPECT_EQ(shared.ToVector(), asRead);
    set.Reverse();
    EXPECT_EQ(set.traces.ToVector(), asRead);
}

TEST(TraceSetReverse, EvenCountSwapsEveryPair)
{
    TraceSet set = LoadedSet(1, 4);
    set.Reverse();
    EXPECT_EQ(set.traces.ToVector(), (std::vector<double> { 400, 300, 200, 100 }));
}

// ---- input check ---------------------------------------------------------------------------

namespace {

ActiveDataForm FormAfterRead(const TraceSet &set)
{
    ActiveDataForm form;
    form.ResetAfterRead(set);
    return form;
}

} // namespace

TEST(TraceSetMeans, RemovedOnceAndThenLeftBitForBit)
{
    // Traces with an offset and an awkward length: removing the means again (as every opened
    // document does) must not move a single bit, or documents drift on each open and save.
    TraceSet set;
    const int rows = 997;
    CMatrix traces(rows, 3);
    for (int r = 0; r < rows; ++r) {
        traces.Set(r, 0, 3.7 + std::sin(0.37 * r));
        traces.Set(r, 1, -1e-3 + 1e-4 * std::cos(1.1 * r) + 1e-9 * r);
        traces.Set(r, 2, 1e6 * std::sin(0.05 * r) * std::exp(-0.003 * r) + 12345.0);
    }
    set.traces = traces;
    set.RemoveTraceMeans();
    for (int c = 0; c < 3; ++c) {
        double sum = 0.0, largest = 0.0;
        for (int r = 0; r < rows; ++r) {
            sum += set.traces(r, c);
            largest = std::max(largest, std::fabs(set.traces(r, c)));
        }
        EXPECT_LT(std::fabs(sum / rows), 1e-12 * largest) << "trace " << c;
        EXPECT_NEAR(
            set.traces(0, c) - set.traces(1, c), traces(0, c) - traces(1, c), 1e-9 * largest);
    }
    const CMatrix once = set.traces;
    set.RemoveTraceMeans();
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < rows; ++r)
            ASSERT_EQ(set.traces(r, c), once(r, c)) << r << "," << c;
}

TEST(ActiveDataFormReset, FieldsAfterAReadFollowTheRecord)
{
    TraceSet set = LoadedSet(1000, 24, 0.5);
    ActiveDataForm form = FormAfterRead(set);
    EXPECT_EQ(form.receiverItems, 24);
    EXPECT_EQ(form.firstReceiverIndex, 0);
    EXPECT_EQ(form.lastReceiverIndex, 23);
    EXPECT_EQ(form.timeStep, QStringLiteral("0.5"));
    EXPECT_EQ(form.receiverSpacing, QStringLiteral("1"));
    EXPECT_EQ(form.windowStart, QStringLiteral("0"));
    EXPECT_EQ(form.windowEnd, QStringLiteral("499.5"));
    EXPECT_FALSE(form.reversedBox);
    EXPECT_EQ(form.sourceDepth, QStringLiteral("0"));
    EXPECT_EQ(form.receiversDepth, QStringLiteral("0"));
}

TEST(ActiveDataFormCheck, NothingLoadedIsReportedAlone)
{
    TraceSet set;
    ActiveDataForm form;
    const ActiveDataCheck check = form.Check(set);
    EXPECT_FALSE(check.ok);
    EXPECT_EQ(check.message, QStringLiteral("Data file not loaded"));
}

TEST(ActiveDataFormCheck, MissingValuesAreListedInFieldOrder)
{
    TraceSet set = LoadedSet();
    ActiveDataForm form = FormAfterRead(set);
    form.sourceDepth = form.receiversDepth = form.receiverSpacing = form.timeStep = QString();
    form.windowEnd = QStringLiteral("x");
    form.windowStart = QStringLiteral(" ");
    const ActiveDataCheck check = form.Check(set);
    EXPECT_FALSE(check.ok);
    EXPECT_EQ(check.message,
        QStringLiteral("Errors:\nInsert source depth\nInsert receivers depth\n"
                       "Insert distance between two consecutive receivers\n"
                       "Insert time step\nInsert total time\nInsert initial time\n"));
    EXPECT_EQ(check.focus, ActiveDataField::SourceDepth);

    // "nan" and "inf" are no numbers: they would slip past every comparison of the check and
    // into the window sample count.
    TraceSet other = LoadedSet();
    ActiveDataForm nonFinite = FormAfterRead(other);
    nonFinite.timeStep = QStringLiteral("nan");
    nonFinite.windowEnd = QStringLiteral("inf");
    const ActiveDataCheck refused = nonFinite.Check(other);
    EXPECT_EQ(refused.message, QStringLiteral("Errors:\nInsert time step\nInsert total time\n"));
    EXPECT_EQ(refused.focus, ActiveDataField::TimeStep);
}

TEST(ActiveDataFormCheck, NegativeValuesAreListedInFieldOrder)
{
    TraceSet set = LoadedSet();
    ActiveDataForm form = FormAfterRead(set);
    form.sourceDepth = form.receiversDepth = form.receiverSpacing = QStringLiteral("-1");
    form.timeStep = form.windowEnd = form.windowStart = QStringLiteral("-0,5");
    const ActiveDataCheck check = form.Check(set);
    EXPECT_EQ(check.message,
        QStringLiteral("Errors:\nSource depth must be positive\n"
                       "Receivers depth must be positive\n"
                       "Distance between two consecutive receivers must be positive\n"
                       "The time step must be positive\nTotal time must be positive\n"
                       "Initial time must be positive\n"));
}

TEST(ActiveDataFormCheck, ValidValuesAreStoredAndWrittenBackWithAPoint)
{
    TraceSet set = LoadedSet(1000, 24, 0.5);
    ActiveDataForm form = FormAfterRead(set);
    form.receiverSpacing = QStringLiteral("2,50");
    form.timeStep = QStringLiteral("0,5");
    form.windowStart = QStringLiteral("10,0");
    form.windowEnd = QStringLiteral("300,9");
    form.lastReceiverIndex = 11;
    form.reversedBox = true;
    const ActiveDataCheck check = form.Check(set);
    ASSERT_TRUE(check.ok) << qPrintable(check.message);
    EXPECT_EQ(form.receiverSpacing, QStringLiteral("2.5"));
    EXPECT_EQ(form.timeStep, QStringLiteral("0.5"));
    EXPECT_EQ(form.windowStart, QStringLiteral("10"));
    EXPECT_EQ(form.windowEnd, QStringLiteral("300,9")); // the window end is not written back
    EXPECT_DOUBLE_EQ(set.receiverSpacing, 2.5);
    EXPECT_DOUBLE_EQ(set.windowEnd, 300.9);
    EXPECT_EQ(set.windowSampleCount, 602); // whole part of 300.9 / 0.5 = 601.8, plus 1
    EXPECT_TRUE(set.reversed);
    EXPECT_EQ(set.firstReceiver, 0);
    EXPECT_EQ(set.lastReceiver, 11);
}

TEST(ActiveDataFormCheck, ZeroPassesExceptForTheTimeStep)
{
    TraceSet set = LoadedSet();
    ActiveDataForm form = FormAfterRead(set);
    form.receiverSpacing = QStringLiteral("0");
    form.windowEnd = QStringLiteral("1");
    EXPECT_TRUE(form.Check(set).ok);
    form.timeStep = QStringLiteral("0");
    const ActiveDataCheck check = form.Check(set);
    EXPECT_EQ(check.message, QStringLiteral("Errors:\nThe time step must be greater than zero\n"));
    EXPECT_EQ(check.focus, ActiveDataField::TimeStep);
}

TEST(ActiveDataFormCheck, WindowStartEqualToEndFails)
{
    TraceSet set = LoadedSet();
    ActiveDataForm form = FormAfterRead(set);
    form.windowStart = form.windowEnd = QStringLiteral("1");
    const ActiveDataCheck check = form.Check(set);
    EXPECT_EQ(
        check.message, QStringLiteral("Errors:\nTotal time must be greater than initial time\n"));
}

TEST(ActiveDataFormCheck, ReceiverSelectionLimits)
{
    TraceSet set = LoadedSet(2, 300);
    ActiveDataForm form = FormAfterRead(set);
    form.firstReceiverIndex = 5;
    form.lastReceiverIndex = 3;
    EXPECT_EQ(form.Check(set).message, QStringLiteral("Errors:\nUse at least one receiver"));
    form.firstReceiverIndex = 0;
    form.lastReceiverIndex = 299;
    EXPECT_EQ(form.Check(set).message, QStringLiteral("Errors:\nUse at most 256 receivers\n"));
    form.lastReceiverIndex = 255;
    EXPECT_TRUE(form.Check(set).ok);
}

TEST(ActiveDataFormFieldEdits, AcceptedRangesAndMessages)
{
    TraceSet set = LoadedSet(1000, 4, 0.5); // window 0 .. 500 ms
    ActiveDataForm form = FormAfterRead(set);
    const struct
    {
        const char *field;
        const char *text;
        FieldEdit expected;
    } cases[] = {
        { "step", "0,25", FieldEdit::Stored },
        { "step", "0.25", FieldEdit::Unchanged },
        { "step", "0", FieldEdit::Invalid },
        { "step", "1000.5", FieldEdit::Invalid },
        { "step", "abc", FieldEdit::Invalid },
        { "step", "1000", FieldEdit::Stored },
        { "start", "500", FieldEdit::Stored },
        { "start", "500.1", FieldEdit::Invalid },
        { "start", "-1", FieldEdit::Invalid },
        { "start", "0", FieldEdit::Stored },
        { "end", "0", FieldEdit::Stored },
        { "end", "-0.1", FieldEdit::Invalid },
        { "end", "", FieldEdit::Invalid },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.text);
        const QString text = QString::fromLatin1(c.text);
        const std::string field = c.field;
        FieldEdit result;
        if (field == "step") {
            form.timeStep = text;
            result = form.EditTimeStep(set);
        } else if (field == "start") {
            form.windowStart = text;
            result = form.EditWindowStart(set);
        } else {
            form.windowEnd = text;
            result = form.EditWindowEnd(set);
        }
        EXPECT_EQ(result, c.expected);
    }
    EXPECT_DOUBLE_EQ(set.timeStep, 1000.0);
    EXPECT_EQ(form.timeStep, QStringLiteral("1000"));
    EXPECT_EQ(
        ActiveDataForm::FieldMessage(ActiveDataField::TimeStep), QStringLiteral("Invald step"));
    EXPECT_EQ(
        ActiveDataForm::FieldMessage(ActiveDataField::WindowEnd), QStringLiteral("Invalid valuee"));
}

// ---- document section ----------------------------------------------------------------------

TEST(ActiveDataSection, RoundTripRestoresTracesTextsAndSelections)
{
    TraceSet set = LoadedSet(5, 4, 0.25);
    set.Reverse();
    ActiveDataForm form = FormAfterRead(set);
    form.fileName = QStringLiteral("/campagna/città/shot 1.sg2");
    form.receiverSpacing = QStringLiteral("2,5"); // kept exactly as typed
    form.windowEnd = QStringLiteral("0,75");
    form.windowStart = QStringLiteral("0.25");
    form.lastReceiverIndex = 2;
    form.reversedBox = true;
    CMatrixArchive out;
    form.SaveSection(out, set);

    CMatrixArchive in(out.GetBuffer());
    TraceSet loaded;
    ActiveDataForm loadedForm;
    ASSERT_TRUE(loadedForm.LoadSection(in, loaded));
    EXPECT_TRUE(in.AtEnd());
    EXPECT_TRUE(loaded.loaded);
    EXPECT_EQ(loaded.traces.ToVector(), set.traces.ToVector());
    EXPECT_EQ(loaded.sampleAxis.ToVector(), set.sampleAxis.ToVector());
    EXPECT_EQ(loaded.traceCount, 4);
    EXPECT_EQ(loaded.sampleCount, 5);
    EXPECT_EQ(loadedForm.fileName, form.fileName);
    EXPECT_EQ(loaded.fileName, form.fileName);
    EXPECT_EQ(loadedForm.receiverSpacing, QStringLiteral("2,5"));
    EXPECT_EQ(loadedForm.timeStep, form.timeStep);
    EXPECT_EQ(loadedForm.windowEnd, QStringLiteral("0,75"));
    EXPECT_EQ(loadedForm.windowStart, QStringLiteral("0.25"));
    EXPECT_EQ(loadedForm.firstReceiverIndex, 0);
    EXPECT_EQ(loadedForm.lastReceiverIndex, 2);
    EXPECT_EQ(loadedForm.receiverItems, 4);
    EXPECT_TRUE(loadedForm.reversedBox);
    EXPECT_TRUE(loaded.reversed);
    EXPECT_DOUBLE_EQ(loaded.timeStep, 0.25);
    EXPECT_DOUBLE_EQ(loaded.windowEnd, 0.75);
    EXPECT_DOUBLE_EQ(loaded.windowStart, 0.25);
}

TEST(ActiveDataSection, LayoutStartsWithSeparatorTagAndVersion)
{
    TraceSet empty;
    ActiveDataForm form;
    CMatrixArchive out;
    form.SaveSection(out, empty);
    const std::vector<uint8_t> &bytes = out.GetBuffer();
    const std::string expectedText = std::string(28, '=') + "\r\n10 RSP1\r\n";
    ASSERT_EQ(bytes.size(), expectedText.size() + 4 + 3);
    EXPECT_EQ(
        std::string(bytes.begin(), bytes.begin() + qsizetype(expectedText.size())), expectedText);
    const float version = 1.0f;
    EXPECT_EQ(std::memcmp(bytes.data() + expectedText.size(), &version, 4), 0);
    EXPECT_EQ(std::string(bytes.end() - 3, bytes.end()), "0\r\n");

    CMatrixArchive in(bytes);
    TraceSet loaded = LoadedSet();
    EXPECT_FALSE(form.LoadSection(in, loaded));
    EXPECT_FALSE(loaded.loaded);
}

TEST(ActiveDataSection, ForeignOrTruncatedSectionThrowsAndChangesNothing)
{
    TraceSet set = LoadedSet();
    ActiveDataForm form = FormAfterRead(set);
    CMatrixArchive out;
    form.SaveSection(out, set);
    std::vector<uint8_t> foreign = out.GetBuffer();
    foreign[30] = 'X'; // "10 RSP1" becomes "X0 RSP1"
    const std::vector<uint8_t> truncated(out.GetBuffer().begin(), out.GetBuffer().end() - 5);
    // A sample axis that is not one column of sample numbers would be read past its end by
    // the chart and the export.
    std::vector<std::vector<uint8_t>> wrongAxes;
    for (int columns : { 0, 2 }) {
        TraceSet odd = set;
        odd.sampleAxis = CMatrix(set.sampleCount, columns);
        CMatrixArchive oddOut;
        form.SaveSection(oddOut, odd);
        wrongAxes.push_back(oddOut.GetBuffer());
    }
    for (const auto &bytes : { foreign, truncated, wrongAxes[0], wrongAxes[1] }) {
        CMatrixArchive in(bytes);
        TraceSet target = LoadedSet(2, 2);
        ActiveDataForm targetForm;
        EXPECT_THROW(targetForm.LoadSection(in, target), CArchiveException);
        EXPECT_EQ(target.traceCount, 2);
    }
}

// ---- export, chart, report ----------------------------------------------------------------

TEST(TraceTextExport, PinsTheExactBytes)
{
    TraceSet set;
    TraceReadResult r = Read(2, 2, 0.5);
    r.values = { 1.5, -2.0, 1e-5, 250.0 };
    set.Replace(r, QStringLiteral("a.txt"));
    EXPECT_EQ(TracesText(set),
        QByteArray("%Experimental traces\r\n"
                   "% 2x2\r\n"
                   "%t[s]\t\t1\t2\r\n"
                   "0.000000\t1.500000\t-2.000000\r\n"
                   "5.000000e-04\t1.000000e-05\t250.000000\r\n"));
}

TEST(TraceTextExport, ExportReadsBackThroughTheTextReader)
{
    TraceSet set = LoadedSet(6, 3, 0.25);
    const TraceReadResult back = ReadTextTraces(TracesText(set));
    ASSERT_TRUE(back.ok) << qPrintable(back.detail);
    EXPECT_EQ(back.samples, 6);
    EXPECT_EQ(back.traces, 3);
    EXPECT_NEAR(back.timeStepMs, 0.25, 1e-9);
    EXPECT_EQ(back.values, Read(6, 3).values);
}

TEST(TraceChartGeometry, OutlineReachesNPlusOneOnlyWhenAllReceiversAreUsed)
{
    TraceSet set = LoadedSet(11, 4, 1.0);
    set.windowStart = 2.0;
    set.windowEnd = 8.0;
    const TraceChart all = BuildTraceChart(set, 3);
    EXPECT_EQ(all.outline.x, (std::vector<double> { 0, 5, 5, 0, 0, 5, 5, 0, 0 }));
    EXPECT_EQ(
        all.outline.y, (std::vector<double> { 0, 0, 0.011, 0.011, 0.008, 0.008, 0.002, 0.002, 0 }));
    const TraceChart some = BuildTraceChart(set, 1);
    EXPECT_EQ(some.outline.x, (std::vector<double> { 0, 5, 5, 0, 0, 2.5, 2.5, 0, 0 }));
    EXPECT_DOUBLE_EQ(some.xMax, 5.0);
    EXPECT_DOUBLE_EQ(some.yMax, 0.010);
    EXPECT_EQ(some.information, QStringLiteral("(4 receivers, 11 time samples)"));
}

TEST(TraceChartGeometry, WigglesAreMeanFreeNormalisedAndFlatTracesStraightAndDataStaysAsRead)
{
    TraceSet set;
    TraceReadResult r = Read(3, 2, 2.0);
    r.values = { 1, 5, 2, 5, 6, 5 }; // trace 1: 1 2 6 (mean 3); trace 2 constant
    set.Replace(r, QStringLiteral("a.txt"));
    const TraceChart chart = BuildTraceChart(set, 1);
    // Drawing works on copies: the stored amplitudes stay as read.
    EXPECT_EQ(ColumnOf(set.traces, 0), (std::vector<double> { 1, 2, 6 }));
    ASSERT_EQ(chart.wiggles.size(), 2u);
    EXPECT_EQ(chart.wiggles[0].x, (std::vector<double> { 1 - 1.0 / 3.0, 1 - 0.5 / 3.0, 1.5 }));
    EXPECT_EQ(chart.wiggles[0].y, (std::vector<double> { 0, 0.002, 0.004 }));
    EXPECT_EQ(chart.wiggles[1].x, (std::vector<double> { 2, 2, 2 }));
}

TEST(TraceChartGeometry, MetreViewPlacesTracesFromTheSourceAndFillsPositiveLobes)
{
    TraceSet set;
    TraceReadResult r = Read(4, 2, 1.0);
    // Trace 1: -1 1 -1 1 (mean 0); trace 2 the same at half the amplitude.
    r.values = { -1, -0.5, 1, 0.5, -1, -0.5, 1, 0.5 };
    set.Replace(r, QStringLiteral("a.su"));
    TraceChartView view;
    view.metres = true;
    view.spacing = 2.0;
    view.sourceOffset = 10.0;
    const TraceChart own = BuildTraceChart(set, 1, view);
    // Traces at 10 m and 12 m from the source, each scaled to half a spacing.
    EXPECT_EQ(own.wiggles[0].x, (std::vector<double> { 9, 11, 9, 11 }));
    EXPECT_EQ(own.wiggles[1].x, (std::vector<double> { 11, 13, 11, 13 }));
    EXPECT_DOUBLE_EQ(own.xMin, 8.0);
    EXPECT_DOUBLE_EQ(own.xMax, 14.0);
    EXPECT_EQ(own.outline.x.front(), 8.0);
    // One scale for the record: the weaker trace keeps its half amplitude.
    view.commonScale = true;
    const TraceChart common = BuildTraceChart(set, 1, view);
    EXPECT_EQ(common.wiggles[0].x, own.wiggles[0].x);
    EXPECT_EQ(common.wiggles[1].x, (std::vector<double> { 11.5, 12.5, 11.5, 12.5 }));

    // Variable area: the outline of trace 1 runs along its baseline except over the positive
    // lobes, meeting the baseline where the trace crosses zero (half-way between samples).
    ASSERT_EQ(own.fills.size(), 2u);
    const TraceChart::Curve &fill = own.fills[0];
    ASSERT_EQ(fill.x.size(), fill.y.size());
    for (double x : fill.x)
        EXPECT_TRUE(x == 10.0 || x == 11.0) << x;
    std::vector<double> crossings;
    for (size_t i = 0; i < fill.x.size(); ++i) {
        const std::vector<double> &times = own.wiggles[0].y;
        if (fill.x[i] == 10.0 && std::find(times.begin(), times.end(), fill.y[i]) == times.end())
            crossings.push_back(fill.y[i]);
    }
    EXPECT_EQ(crossings.size(), 3u);
    EXPECT_NEAR(crossings[0], 0.0005, 1e-12);
    EXPECT_EQ(fill.x.front(), 10.0);
    EXPECT_EQ(fill.x.back(), 10.0);
    EXPECT_EQ(fill.y.front(), fill.y.back());
    // The receiver view has no filled lobes.
    EXPECT_TRUE(BuildTraceChart(set, 1).fills.empty());
}

TEST(ActiveDataReport, RowsCarryUnitsAndTheReversalSentence)
{
    TraceSet set = LoadedSet(1000, 24, 0.5);
    set.fileName = QStringLiteral("C:\\dati\\shot.sg2");
    set.receiverSpacing = 2.0;
    set.lastReceiver = 11;
    set.windowStart = 10;
    set.windowEnd = 300;
    const auto rows = ActiveDataForm::ReportRows(set, true);
    ASSERT_EQ(rows.size(), 9);
    // Plain text: the report writer escapes the backslashes.
    EXPECT_EQ(rows[0].second, QStringLiteral("C:\\dati\\shot.sg2"));
    EXPECT_EQ(rows[1].second, QStringLiteral("24"));
    EXPECT_EQ(rows[2].second, QStringLiteral("2m"));
    EXPECT_EQ(rows[3].second, QStringLiteral("1000"));
    EXPECT_EQ(rows[4].second, QStringLiteral("0.5ms"));
    EXPECT_EQ(rows[5].second, QStringLiteral("12"));
    EXPECT_EQ(rows[6].second, QStringLiteral("10ms"));
    EXPECT_EQ(rows[7].second, QStringLiteral("300ms"));
    EXPECT_TRUE(rows[8].first.startsWith(QStringLiteral("Sensors are reverted")));
    EXPECT_TRUE(ActiveDataForm::ReportRows(set, false)[8].first.startsWith(
        QStringLiteral("Sensors are not reverted")));
}
