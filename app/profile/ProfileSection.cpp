#include "app/profile/ProfileSection.h"

#include "app/controls/CGridModel.h"
#include "matrix/CMatrixArchive.h"

#include <algorithm>

namespace {

const char *const SectionTag = "PPT";
constexpr int SpareWords = 999;
// The section version that carries a many-start search's findings.
constexpr float EnsembleSectionVersion = 2.0f;

std::string Utf8(const QString &text) { return text.toUtf8().toStdString(); }
QString FromUtf8(const std::string &text) { return QString::fromUtf8(text.c_str()); }

void WriteFlag(CMatrixArchive &ar, bool flag) { ar.WriteInt32(flag ? 1 : 0); }
bool ReadFlag(CMatrixArchive &ar) { return ar.ReadInt32() != 0; }

} // namespace

void WriteProfileSection(CMatrixArchive &ar, int version, const CGridModel &table,
    const ProfilePageState &s, const DispersionAnalysis &a)
{
    ar.WriteLine(std::string(28, '='));
    ar.WriteLine(SectionTag);
    // Without findings to keep the section stays as older programs read it.
    const bool findings = s.ensemble.valid && !a.m_profile.layers.empty();
    ar.WriteFloat32(findings ? EnsembleSectionVersion : 1.0f);
    table.Store(ar);
    ar.WriteInt32(s.layersIndex);
    ar.WriteLine(Utf8(s.spacingText));
    ar.WriteLine(Utf8(s.depthText));
    ar.WriteInt32(s.receiversIndex);
    ar.WriteInt32(s.iterationsIndex);
    ar.WriteInt32(s.modesIndex);
    ar.WriteInt32(s.errorIndex);
    WriteFlag(ar, s.apparentBox);
    WriteFlag(ar, s.strongContrasts);
    WriteFlag(ar, s.effectiveBox);
    WriteFlag(ar, s.modesBox);
    WriteFlag(ar, s.experimentalBox);
    a.m_curve.frequencies.Store(ar);
    a.m_curve.velocities.Store(ar);
    a.m_curve.maxVelocities.Store(ar);
    a.m_curve.minVelocities.Store(ar);
    ar.WriteFloat64(a.m_results.apparentMisfit);
    ar.WriteFloat64(a.m_results.effectiveMisfit);
    WriteFlag(ar, s.forwardValid);
    WriteFlag(ar, s.searchValid);
    const std::vector<LayerRecord> &layers = a.m_profile.layers;
    WriteFlag(ar, !layers.empty());
    if (layers.empty())
        return;
    a.m_results.apparentCurve.Store(ar);
    a.m_results.effectiveCurve.Store(ar);
    a.m_results.frequencies.Store(ar);
    a.m_results.modalVelocities.Store(ar);
    s.widths.Store(ar);
    s.points.Store(ar);
    ar.WriteInt32(s.uncertaintyIndex);
    if (version >= 1) {
        for (int i = 0; i < SpareWords; ++i)
            ar.WriteInt32(0);
    }
    for (const LayerRecord &layer : layers) {
        ar.WriteFloat64(layer.finalVs);
        ar.WriteCountedString(Utf8(layer.finalVsText));
    }
    if (!findings)
        return;
    const EnsembleSummary &e = s.ensemble;
    ar.WriteInt32(e.starts);
    WriteFlag(ar, e.stopped);
    WriteFlag(ar, e.finalCurvesMissing);
    for (double value :
        { e.normalisedMisfit, e.vs30, e.vs30P10, e.vs30P90, e.depthOfInvestigation })
        ar.WriteFloat64(value);
    e.band.Store(ar);
    e.layerOnBound.Store(ar);
}

void ReadProfileSection(
    CMatrixArchive &ar, int version, CGridModel &table, ProfilePageState &s, DispersionAnalysis &a)
{
    ar.ReadLine();
    if (ar.ReadLine() != SectionTag)
        throw CArchiveException(CArchiveException::BadClass, "not a ground-profile section");
    const float sectionVersion = ar.ReadFloat32();
    s.ensemble = EnsembleSummary();
    table.Load(ar);
    s.layersIndex = ar.ReadInt32();
    s.spacingText = FromUtf8(ar.ReadLine());
    s.depthText = FromUtf8(ar.ReadLine());
    s.receiversIndex = ar.ReadInt32();
    s.iterationsIndex = ar.ReadInt32();
    s.modesIndex = ar.ReadInt32();
    s.errorIndex = ar.ReadInt32();
    s.apparentBox = ReadFlag(ar);
    s.strongContrasts = ReadFlag(ar);
    s.effectiveBox = ReadFlag(ar);
    s.modesBox = ReadFlag(ar);
    s.experimentalBox = ReadFlag(ar);
    a.m_curve.frequencies.Load(ar);
    a.m_curve.velocities.Load(ar);
    a.m_curve.maxVelocities.Load(ar);
    a.m_curve.minVelocities.Load(ar);
    a.m_results.apparentMisfit = ar.ReadFloat64();
    a.m_results.effectiveMisfit = ar.ReadFloat64();
    s.forwardValid = ReadFlag(ar);
    s.searchValid = ReadFlag(ar);
    if (!ReadFlag(ar))
        return;
    a.m_results.apparentCurve.Load(ar);
    a.m_results.effectiveCurve.Load(ar);
    a.m_results.frequencies.Load(ar);
    a.m_results.modalVelocities.Load(ar);
    s.widths.Load(ar);
    s.points.Load(ar);
    s.uncertaintyIndex = ar.ReadInt32();
    if (version >= 1) {
        for (int i = 0; i < SpareWords; ++i)
            ar.ReadInt32();
    }
    // One final Vs per layer of the table just read: its rows but the header.
    const int layers = std::max(0, table.GetRowCount() - 1);
    a.m_profile.layers.resize(std::size_t(layers));
    a.m_results.finalVs = CMatrix(layers, 1);
    for (int l = 0; l < layers; ++l) {
        LayerRecord &layer = a.m_profile.layers[std::size_t(l)];
        layer.finalVs = ar.ReadFloat64();
        layer.finalVsText = FromUtf8(ar.ReadCountedString());
        a.m_results.finalVs.Set(l, layer.finalVs);
    }
    if (sectionVersion < EnsembleSectionVersion)
        return;
    EnsembleSummary &e = s.ensemble;
    e.starts = ar.ReadInt32();
    e.stopped = ReadFlag(ar);
    e.finalCurvesMissing = ReadFlag(ar);
    e.normalisedMisfit = ar.ReadFloat64();
    e.vs30 = ar.ReadFloat64();
    e.vs30P10 = ar.ReadFloat64();
    e.vs30P90 = ar.ReadFloat64();
    e.depthOfInvestigation = ar.ReadFloat64();
    e.band.Load(ar);
    e.layerOnBound.Load(ar);
    // A band that does not match the layers is dropped rather than drawn wrong.
    e.valid = e.band.GetRows() == layers && e.band.GetCols() == 5;
    if (!e.valid)
        e = EnsembleSummary();
}

const std::vector<int> &ProfileReceiverItems()
{
    static const std::vector<int> items { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17,
        18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 35, 40, 45, 40, 64, 96, 128,
        256, 512, 1028 };
    return items;
}

const std::vector<int> &ProfileModeItems()
{
    static const std::vector<int> items { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 20, 25,
        30, 40, 50 };
    return items;
}

const std::vector<int> &ProfileIterationItems()
{
    static const std::vector<int> items { 1, 2, 3, 4, 5, 10, 15, 20, 25, 30, 35, 40, 50 };
    return items;
}

const std::vector<int> &ProfileErrorItems()
{
    static const std::vector<int> items { 5, 10, 15, 20, 30, 40 };
    return items;
}

int ProfileListIndex(const std::vector<int> &items, int value)
{
    const auto found = std::find(items.begin(), items.end(), value);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}
