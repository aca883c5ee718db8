// vela-cli analyse: a whole analysis of one shot record or of a batch, without a window. Each
// record goes through the plain cores of the pages in the order an engineer walks them (data,
// spectrum, curve, profile with the automatic search, results), and the document VELA would
// save after those steps is written, with the report when asked.
#include "app/controls/CGridModel.h"
#include "app/curve/CCurveTable.h"
#include "app/data/ActiveDataForm.h"
#include "app/data/CExcelAccess.h"
#include "app/data/TraceReaders.h"
#include "app/data/TraceSet.h"
#include "app/data/UserNumber.h"
#include "app/page/CStepTable.h"
#include "app/profile/CProfileTable.h"
#include "app/profile/ProfileRun.h"
#include "app/profile/ProfileSection.h"
#include "app/results/CSoilClassification.h"
#include "app/results/ResultsForm.h"
#include "app/shell/CDocumentFile.h"
#include "app/spectrum/FkSpectrum.h"
#include "app/spectrum/SpectrumPageState.h"
#include "cli/AnalyseReport.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "matrix/CMatrixArchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

const char *const Name = "analyse";

struct AnalyseOptions
{
    QStringList records;
    double dx = 0.0;
    bool haveDx = false;
    double dt = 0.0;
    bool haveDt = false;
    bool haveReceivers = false;
    int firstReceiver = 0;
    int lastReceiver = 0;
    bool haveWindow = false;
    double windowStart = 0.0;
    double windowEnd = 0.0;
    bool reverse = false;
    bool haveBand = false;
    QString bandLow;
    QString bandHigh;
    int layers = CProfileTable::DefaultLayers;
    int modes = 1;
    int iterations = 10;
    int maxErrorPercent = 20;
    SoilCode code = SoilCode::Dm2008;
    QString out;
    QString report;
    QString outDir;
    bool verbose = false;
};

bool Number(const char *text, double &value)
{
    std::string error;
    return CliNumberOption(CliOption { std::string(), text }, value, error);
}

bool Whole(const char *text, int &value)
{
    double number = 0.0;
    if (!Number(text, number) || number != std::floor(number) || std::abs(number) > 1e9)
        return false;
    value = static_cast<int>(number);
    return true;
}

std::string ListText(const std::vector<int> &items)
{
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        // The receivers list repeats an item; the others do not.
        if (text.find(" " + std::to_string(items[i]) + ",") != std::string::npos)
            continue;
        text += (i ? " " : "") + std::to_string(items[i]) + ",";
    }
    if (!text.empty())
        text.pop_back();
    return text;
}

// A value the profile page offers in one of its lists.
bool ListValue(const char *text, const std::vector<int> &items, int &value)
{
    return Whole(text, value) && ProfileListIndex(items, value) >= 0;
}

bool ParseCode(const char *name, SoilCode &code)
{
    const struct
    {
        const char *name;
        SoilCode code;
    } codes[] = { { "dm2008", SoilCode::Dm2008 }, { "opcm2003", SoilCode::Opcm2003 },
        { "ntc2018", SoilCode::Ntc2018 }, { "asce7-22", SoilCode::Asce722 } };
    for (const auto &known : codes) {
        if (std::strcmp(name, known.name) == 0) {
            code = known.code;
            return true;
        }
    }
    return false;
}

// Returns an empty text, or the message of the bad input.
std::string ParseOptions(int argc, char **argv, AnalyseOptions &o)
{
    for (int i = 0; i < argc; ++i) {
        const char *arg = argv[i];
        const auto values = [&](int count) { return i + count < argc; };
        if (std::strcmp(arg, "--dx") == 0) {
            if (!values(1) || !Number(argv[i + 1], o.dx) || !(o.dx > 0.0))
                return "--dx needs a receiver spacing above 0 m";
            o.haveDx = true;
            ++i;
        } else if (std::strcmp(arg, "--dt") == 0) {
            if (!values(1) || !Number(argv[i + 1], o.dt) || !(o.dt > 0.0) || o.dt > 1000.0)
                return "--dt needs a time step above 0 and up to 1000 ms";
            o.haveDt = true;
            ++i;
        } else if (std::strcmp(arg, "--receivers") == 0) {
            if (!values(2) || !Whole(argv[i + 1], o.firstReceiver)
                || !Whole(argv[i + 2], o.lastReceiver) || o.firstReceiver < 1
                || o.lastReceiver < o.firstReceiver)
                return "--receivers needs two whole numbers 1 <= FIRST <= LAST";
            o.haveReceivers = true;
            i += 2;
        } else if (std::strcmp(arg, "--window") == 0) {
            if (!values(2) || !Number(argv[i + 1], o.windowStart)
                || !Number(argv[i + 2], o.windowEnd) || o.windowStart < 0.0
                || !(o.windowEnd > o.windowStart))
                return "--window needs two times 0 <= START_MS < END_MS";
            o.haveWindow = true;
            i += 2;
        } else if (std::strcmp(arg, "--reverse") == 0) {
            o.reverse = true;
        } else if (std::strcmp(arg, "--verbose") == 0) {
            o.verbose = true;
        } else if (std::strcmp(arg, "--band") == 0) {
            if (!values(2))
                return "--band needs two frequencies FMIN FMAX";
            o.bandLow = QString::fromLocal8Bit(argv[i + 1]);
            o.bandHigh = QString::fromLocal8Bit(argv[i + 2]);
            o.haveBand = true;
            i += 2;
        } else if (std::strcmp(arg, "--layers") == 0) {
            // The default table has eight layers; a ninth would be an empty row to fill in.
            if (!values(1) || !Whole(argv[i + 1], o.layers) || o.layers < 1
                || o.layers > CProfileTable::DefaultLayers)
                return "--layers needs a whole number from 1 to 8";
            ++i;
        } else if (std::strcmp(arg, "--modes") == 0) {
            if (!values(1) || !ListValue(argv[i + 1], ProfileModeItems(), o.modes))
                return "--modes needs one of " + ListText(ProfileModeItems());
            ++i;
        } else if (std::strcmp(arg, "--iterations") == 0) {
            if (!values(1) || !ListValue(argv[i + 1], ProfileIterationItems(), o.iterations))
                return "--iterations needs one of " + ListText(ProfileIterationItems());
            ++i;
        } else if (std::strcmp(arg, "--max-error") == 0) {
            if (!values(1) || !ListValue(argv[i + 1], ProfileErrorItems(), o.maxErrorPercent))
                return "--max-error needs one of " + ListText(ProfileErrorItems()) + " (%)";
            ++i;
        } else if (std::strcmp(arg, "--code") == 0) {
            if (!values(1) || !ParseCode(argv[i + 1], o.code))
                return "--code must be dm2008, opcm2003, ntc2018 or asce7-22";
            ++i;
        } else if (std::strcmp(arg, "--out") == 0) {
            if (!values(1))
                return "--out needs a file name FILE.vla";
            o.out = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(arg, "--report") == 0) {
            if (!values(1))
                return "--report needs a file name FILE.rtf";
            o.report = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(arg, "--out-dir") == 0) {
            if (!values(1))
                return "--out-dir needs a folder";
            o.outDir = QString::fromLocal8Bit(argv[++i]);
        } else if (arg[0] == '-' && arg[1] == '-') {
            return std::string("unknown option ") + arg;
        } else {
            o.records.append(QString::fromLocal8Bit(arg));
        }
    }
    if (o.records.isEmpty())
        return "usage: vela-cli analyse RECORD... --dx M --band FMIN FMAX (--out FILE.vla "
               "[--report FILE.rtf] | --out-dir DIR) (see vela-cli analyse --help)";
    if (!o.haveDx)
        return "missing --dx M";
    if (!o.haveBand)
        return "missing --band FMIN FMAX";
    if (o.out.isEmpty() == o.outDir.isEmpty())
        return "give either --out FILE.vla or --out-dir DIR";
    if (!o.outDir.isEmpty() && !o.report.isEmpty())
        return "--report goes with --out; --out-dir writes a report for every record";
    if (!o.out.isEmpty() && o.records.size() > 1)
        return "several records need --out-dir DIR";
    return std::string();
}

/// Everything the pages of one analysis hold, as their plain cores keep it.
struct Analysis
{
    TraceSet set;
    ActiveDataForm form;
    DispersionAnalysis analysis;
    SpectrumPageState spectrum;
    std::unique_ptr<CCurveTable> curve;
    CGridModel profileGrid;
    std::unique_ptr<CProfileTable> profileTable;
    ProfilePageState profileState;
    ProfileValidity validity;
    CSoilClassification classification;
    int iterationsDone = 0;
};

/// Several lines of page messages as one line.
QString OneLine(const QString &messages)
{
    QStringList parts = messages.split(QRegularExpression(QStringLiteral("[\r\n]+")));
    for (QString &part : parts)
        part = part.trimmed();
    parts.removeAll(QString());
    return parts.join(QStringLiteral("; "));
}

bool Progress(const AnalyseOptions &o) { return o.verbose || ::isatty(STDERR_FILENO); }

// The steps of one record; false with `message` when a step refuses.
bool RunAnalysis(const QString &path, const AnalyseOptions &o, Analysis &a, QString &message)
{
    // Data page: the record read as the page reads it, then the fields as given.
    QString sheet;
    if (TraceFormatForPath(path) == TraceFormat::Excel) {
        const QStringList names = CExcelAccess::SheetNames(path, &message);
        if (names.isEmpty())
            return false;
        sheet = names.first();
    }
    const TraceReadResult read = ReadTraceFile(path, sheet);
    if (!read.ok) {
        message = read.message;
        if (!read.detail.isEmpty() && read.detail != read.message)
            message += (message.isEmpty() ? QString() : QStringLiteral(": ")) + read.detail;
        message = message.simplified();
        if (message.isEmpty())
            message = QStringLiteral("the record could not be read");
        return false;
    }
    a.set.Replace(read, path);
    a.set.RemoveTraceMeans();
    a.form.fileName = path;
    a.form.ResetAfterRead(a.set);
    a.form.receiverSpacing = FormatUserNumber(o.dx);
    if (o.haveDt) {
        a.form.timeStep = FormatUserNumber(o.dt);
        a.form.windowEnd = FormatUserNumber(std::max(0, a.set.sampleCount - 1) * o.dt);
    }
    if (o.haveWindow) {
        a.form.windowStart = FormatUserNumber(o.windowStart);
        a.form.windowEnd = FormatUserNumber(o.windowEnd);
    }
    if (o.haveReceivers) {
        if (o.lastReceiver > a.set.traceCount) {
            message = QStringLiteral("--receivers: the record has %1 traces").arg(a.set.traceCount);
            return false;
        }
        a.form.firstReceiverIndex = o.firstReceiver - 1;
        a.form.lastReceiverIndex = o.lastReceiver - 1;
    }
    // The page turns the record round when its box is ticked.
    a.form.reversedBox = o.reverse;
    if (o.reverse)
        a.set.Reverse();
    const ActiveDataCheck check = a.form.Check(a.set);
    if (!check.ok) {
        message = OneLine(check.message);
        return false;
    }
    DispersionAnalysis &d = a.analysis;
    d.m_bAnalysed = d.HandOverActiveTraces(a.set) && ComputeFkSpectrum(d.m_active);
    if (!d.m_bAnalysed) {
        message = QStringLiteral("the window holds too few samples for a spectrum");
        return false;
    }

    // Spectrum page: band check and picking.
    a.spectrum.lowText = o.bandLow;
    a.spectrum.highText = o.bandHigh;
    const QString bandErrors = a.spectrum.PickCurve(d);
    if (!bandErrors.isEmpty()) {
        message = OneLine(bandErrors);
        return false;
    }

    // Curve page: the automatic points, checked and handed over.
    a.curve = std::make_unique<CCurveTable>(&d);
    a.curve->TakeAutomaticPoints();
    const CurveCheck curveCheck = a.curve->Check();
    if (!curveCheck.ok || !a.curve->NextEnabled()) {
        message = curveCheck.ok ? QStringLiteral("fewer than two points picked in the band")
                                : OneLine(curveCheck.message);
        return false;
    }

    // Profile page: the default table with the initial Vs from the curve, the run parameters.
    a.profileTable = std::make_unique<CProfileTable>(&a.profileGrid,
        QCoreApplication::translate("CGUIProfiloIniziale", "Yes"),
        QCoreApplication::translate("CGUIProfiloIniziale", "No"));
    a.profileTable->SetDefaultTable(d.m_curve);
    a.profileTable->SetLayerCount(o.layers);
    ProfilePageState &s = a.profileState;
    s.layersIndex = o.layers - 1;
    const double spacing = d.m_active.receiverSpacing;
    s.spacingText = spacing > 0 ? FormatUserNumber(spacing) : QStringLiteral("1");
    s.depthText = QStringLiteral("0");
    const int used = ProfileListIndex(ProfileReceiverItems(), d.m_active.receiversUsed);
    s.receiversIndex = used >= 0 ? used : ProfileListIndex(ProfileReceiverItems(), 20);
    s.modesIndex = ProfileListIndex(ProfileModeItems(), o.modes);
    s.iterationsIndex = ProfileListIndex(ProfileIterationItems(), o.iterations);
    s.errorIndex = ProfileListIndex(ProfileErrorItems(), o.maxErrorPercent);
    int row = 0;
    int column = 0;
    if (a.profileTable->FirstMissingCell(&row, &column)) {
        message = QStringLiteral("the profile table misses a value in row %1").arg(row);
        return false;
    }
    GroundProfile &p = d.m_profile;
    a.profileTable->Collect(p);
    p.receiverSpacing = ParseUserNumber(s.spacingText).value_or(1.0);
    p.receiversDepth = 0.0;
    p.receiverCount = ProfileReceiverItems()[std::size_t(s.receiversIndex)];
    p.modeCount = o.modes;
    p.solverParameter = 75;
    p.iterationCount = o.iterations;
    p.strongContrasts = false;
    p.targetMisfit = o.maxErrorPercent * 0.01;

    // The automatic search through runner.
    d.m_search = SearchProgress();
    EngineRunRequest request;
    request.runnerPath = RunnerBesideThisProgram();
    if (::access(request.runnerPath.c_str(), X_OK) != 0) {
        message = QStringLiteral("cannot find the runner program at %1")
                      .arg(QString::fromStdString(request.runnerPath));
        return false;
    }
    const bool progress = Progress(o);
    request.progress = [&](const EngineProgress &r) {
        TakeProgress(d, r);
        if (r.kind != EngineProgressKindEnd
            && static_cast<EngineStep>(r.stepNumber) == EngineStep::IterationEnd) {
            ++a.iterationsDone;
            if (progress) {
                std::fprintf(stderr, "  iteration %d of %d: misfit_best: %.7g\n", r.stepValue + 1,
                    o.iterations, r.currentMisfit);
                std::fflush(stderr);
            }
        }
    };
    const ProfileRunReport run = RunSearchJob(d, a.validity, request);
    if (!a.validity.searchValid) {
        message = run.message.isEmpty() ? QStringLiteral("the automatic search found no profile")
                                        : OneLine(run.message);
        return false;
    }
    if (run.finalCurvesMissing) {
        d.m_results.apparentMisfit = KeptModelApparentMisfit(d);
        std::fprintf(
            stderr, "warning: the final curves of the best profile could not be computed\n");
    }
    a.profileTable->SetFinalVs(d.m_results.finalVs);
    a.profileTable->Collect(p);
    s.forwardValid = a.validity.forwardValid;
    s.searchValid = a.validity.searchValid;
    s.widths = a.profileTable->Widths();
    s.points = a.profileTable->Points();

    // Results page: the summary of the final profile, classified under the chosen code with
    // nothing special declared.
    CGridModel summary;
    ResultsForm::FillSummary(summary, p.layers);
    a.classification.SetProfile(ResultsForm::LayersOfSummary(summary));
    a.classification.Init();
    a.classification.SetCode(o.code);
    a.classification.SetOffset(0.0);
    a.classification.AnswerPlainly();
    return true;
}

/// The document's pages: those of the steps taken, the results on display.
class AnalysisSlots : public CDocumentSlots
{
public:
    explicit AnalysisSlots(Analysis &a)
        : m_a(a)
    {
    }
    int DisplayedSlot() const override { return CStepTable::SlotOfStep(Step::Results); }
    bool HasPage(int slot) const override
    {
        for (int step : { Step::ActiveData, Step::Spectrum, Step::DispersionCurve,
                 Step::GroundProfile, Step::Results })
            if (CStepTable::SlotOfStep(step) == slot)
                return true;
        return false;
    }
    void SaveSlot(int slot, CMatrixArchive &ar, int version) override
    {
        switch (CStepTable::StepOfSlot(slot)) {
        case Step::ActiveData:
            m_a.form.SaveSection(ar, m_a.set);
            break;
        case Step::Spectrum:
            m_a.spectrum.StoreSection(ar, m_a.analysis);
            break;
        case Step::DispersionCurve:
            m_a.curve->StoreSection(ar);
            break;
        case Step::GroundProfile:
            WriteProfileSection(ar, version, m_a.profileGrid, m_a.profileState, m_a.analysis);
            break;
        case Step::Results:
            ResultsForm::WriteSection(
                ar, m_a.analysis.m_profile.layers, m_a.classification, QStringLiteral("0"), true);
            break;
        default:
            break;
        }
    }
    void RestoreAbsent(int) override { }
    void RestorePresent(int, CMatrixArchive &, int, bool) override { }

private:
    Analysis &m_a;
};

bool WriteDocument(Analysis &a, const QString &path, QString &message)
{
    try {
        CMatrixArchive ar(QFile::encodeName(path).toStdString(), CMatrixArchive::Store);
        AnalysisSlots pages(a);
        CDocumentFile::Write(ar, pages);
        ar.Close();
        return true;
    } catch (const std::exception &e) {
        message = QStringLiteral("%1: the document could not be written (%2)")
                      .arg(path, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        message = QStringLiteral("%1: the document could not be written").arg(path);
    }
    return false;
}

// A misfit as a fraction, "none" when there is none.
QString Fraction(double misfit)
{
    if (!(misfit < ProfileRunResults::NoRunMisfit))
        return QStringLiteral("none");
    return QString::number(misfit, 'g', 7);
}

QString CategoryText(const CSoilClassification &c)
{
    return c.Category().isEmpty() ? QStringLiteral("none") : c.Category();
}

void PrintResults(const QString &record, const AnalyseOptions &o, const Analysis &a)
{
    const DispersionAnalysis &d = a.analysis;
    const CSoilClassification &c = a.classification;
    QByteArray out;
    out += "record: " + record.toLocal8Bit() + '\n';
    out += "picked_points: " + QByteArray::number(d.m_curve.PointCount()) + '\n';
    out += "vs30_ms: " + QByteArray::number(c.Vs30(), 'g', 10) + '\n';
    if (o.code == SoilCode::Ntc2018) {
        const EquivalentVelocity equivalent = c.VsEq();
        out += "vseq_ms: " + QByteArray::number(equivalent.vsEq, 'g', 10) + '\n';
        out += "h_m: " + QByteArray::number(equivalent.h, 'g', 10) + '\n';
    } else if (o.code == SoilCode::Asce722) {
        out += "vs100ft_ms: " + QByteArray::number(c.Vs100ft(), 'g', 10) + '\n';
    }
    out += "category: " + CategoryText(c).toLatin1() + '\n';
    out += "misfit_apparent: " + Fraction(d.m_results.apparentMisfit).toLatin1() + '\n';
    out += "misfit_effective: " + Fraction(d.m_results.effectiveMisfit).toLatin1() + '\n';
    out += "iterations: " + QByteArray::number(a.iterationsDone) + '\n';
    out += "layer,thickness_m,vs_ms\n";
    const std::vector<LayerRecord> &layers = d.m_profile.layers;
    for (std::size_t l = 0; l < layers.size(); ++l) {
        const bool halfSpace = l + 1 == layers.size();
        out += QByteArray::number(int(l) + 1) + ','
            + QByteArray::number(halfSpace ? 0.0 : layers[l].thickness, 'g', 10) + ','
            + QByteArray::number(layers[l].finalVs, 'g', 10) + '\n';
    }
    std::fwrite(out.constData(), 1, std::size_t(out.size()), stdout);
    std::fflush(stdout);
}

/// One CSV field, quoted when it holds a separator, a quote or a line break.
QByteArray CsvField(const QString &text)
{
    QByteArray field = text.toUtf8();
    if (field.contains(',') || field.contains('"') || field.contains('\n')
        || field.contains('\r')) {
        field.replace("\"", "\"\"");
        field = '"' + field + '"';
    }
    return field;
}

// File names in the output folder: each record's own base name, made unique within the batch
// so that records of the same name from different folders do not overwrite each other.
QString OutputBase(const QString &record, QSet<QString> &used)
{
    const QString base = QFileInfo(record).completeBaseName();
    QString name = base.isEmpty() ? QStringLiteral("record") : base;
    for (int n = 2; used.contains(name.toLower()); ++n)
        name = base + QStringLiteral("-%1").arg(n);
    used.insert(name.toLower());
    return name;
}

} // namespace

int CmdAnalyse(int argc, char **argv)
{
    UseCliNumberFormat();
    AnalyseOptions o;
    const std::string problem = ParseOptions(argc, argv, o);
    if (!problem.empty())
        return CliBadInput(Name, problem);
    if (!o.outDir.isEmpty() && !QDir().mkpath(o.outDir))
        return CliBadInput(Name, o.outDir.toStdString() + ": cannot create the folder");

    QByteArray summary("record,vs30_ms,category,misfit_apparent,misfit_effective,status\n");
    QSet<QString> usedNames;
    int failures = 0;
    const int count = int(o.records.size());
    for (int r = 0; r < count; ++r) {
        const QString &record = o.records[r];
        if (Progress(o)) {
            std::fprintf(stderr, "record %d of %d: %s\n", r + 1, count, qPrintable(record));
            std::fflush(stderr);
        }
        QString vla = o.out;
        QString rtf = o.report;
        if (!o.outDir.isEmpty()) {
            const QString base = QDir(o.outDir).filePath(OutputBase(record, usedNames));
            vla = base + QStringLiteral(".vla");
            rtf = base + QStringLiteral(".rtf");
        }
        Analysis a;
        QString message;
        const bool ok = RunAnalysis(record, o, a, message) && WriteDocument(a, vla, message)
            && (rtf.isEmpty()
                || WriteAnalysisReport(a.set, a.analysis, a.spectrum, *a.curve, a.profileState,
                    a.classification, rtf, message));
        if (ok) {
            if (r > 0)
                std::fputc('\n', stdout);
            PrintResults(record, o, a);
            summary += CsvField(record) + ',' + QByteArray::number(a.classification.Vs30(), 'g', 10)
                + ',' + CsvField(CategoryText(a.classification)) + ','
                + Fraction(a.analysis.m_results.apparentMisfit).toLatin1() + ','
                + Fraction(a.analysis.m_results.effectiveMisfit).toLatin1() + ",ok\n";
        } else {
            ++failures;
            std::fprintf(
                stderr, "vela-cli analyse: %s: %s\n", qPrintable(record), qPrintable(message));
            std::fflush(stderr);
            summary += CsvField(record) + ",,,,," + CsvField(message) + '\n';
        }
    }
    if (!o.outDir.isEmpty()) {
        QFile file(QDir(o.outDir).filePath(QStringLiteral("summary.csv")));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(summary) != summary.size() || !file.flush())
            return CliFailure(Name, file.fileName().toStdString() + ": cannot write the summary");
    }
    if (std::fflush(stdout) != 0)
        return 1;
    return failures == 0 ? 0 : 1;
}
