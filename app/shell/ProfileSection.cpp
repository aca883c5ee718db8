#include "app/shell/ProfileSection.h"

#include "app/controls/CGridModel.h"
#include "matrix/CMatrixArchive.h"

#include <string>

namespace {

// Reserved after the uncertainty list in the current format.
constexpr int ReservedCount = 999;

std::string Utf8(const QString &text) { return text.toUtf8().toStdString(); }
QString FromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.c_str(), int(text.size()));
}

bool SameMatrix(const CMatrix &a, const CMatrix &b)
{
    if (a.GetRows() != b.GetRows() || a.GetCols() != b.GetCols())
        return false;
    for (int row = 0; row < a.GetRows(); ++row)
        for (int column = 0; column < a.GetCols(); ++column)
            if (a(row, column) != b(row, column))
                return false;
    return true;
}

bool SameMatrix(const CComplexMatrix &a, const CComplexMatrix &b)
{
    if (a.GetRows() != b.GetRows() || a.GetCols() != b.GetCols())
        return false;
    for (int row = 0; row < a.GetRows(); ++row)
        for (int column = 0; column < a.GetCols(); ++column)
            if (a(row, column) != b(row, column))
                return false;
    return true;
}

} // namespace

void ProfileSection::Write(CMatrixArchive &ar, const CGridModel &table, int version) const
{
    ar.WriteLine(std::string(28, '='));
    ar.WriteLine(ProfileSectionTag);
    ar.WriteFloat32(1.0f);
    table.Store(ar);
    ar.WriteInt32(layerCountIndex);
    ar.WriteLine(Utf8(spacingText));
    ar.WriteLine(Utf8(receiversDepthText));
    for (int index : { receiversIndex, iterationsIndex, modesIndex, maxErrorIndex })
        ar.WriteInt32(index);
    for (bool ticked :
        { apparentLegend, strongContrasts, effectiveLegend, modesLegend, experimentalLegend })
        ar.WriteInt32(ticked ? 1 : 0);
    ar << frequencies << velocities << upperBounds << lowerBounds;
    ar.WriteFloat64(apparentMisfit);
    ar.WriteFloat64(effectiveMisfit);
    ar.WriteInt32(forwardValid ? 1 : 0);
    ar.WriteInt32(searchValid ? 1 : 0);
    ar.WriteInt32(hasLayers ? 1 : 0);
    if (!hasLayers)
        return;
    ar << apparentCurve << effectiveCurve << resultFrequencies << modalVelocities << relativeWidths
       << pointIndices;
    ar.WriteInt32(uncertaintyIndex);
    if (version >= 1) {
        const std::vector<std::uint8_t> zeros(4 * ReservedCount, 0);
        ar.WriteBytes(zeros.data(), zeros.size());
    }
    const int layers = table.GetRowCount() - table.GetFixedRowCount();
    for (int layer = 0; layer < layers; ++layer) {
        ar.WriteFloat64(layer < int(finalVs.size()) ? finalVs[layer] : 0.0);
        ar.WriteCountedString(
            Utf8(layer < int(finalVsTexts.size()) ? finalVsTexts[layer] : QString()));
    }
}

void ProfileSection::Read(CMatrixArchive &ar, CGridModel &table, int version)
{
    ar.ReadLine(); // the separator
    if (ar.ReadLine() != ProfileSectionTag)
        CMatrixArchive::ThrowBadClass();
    ar.ReadFloat32(); // section version, 1.0 is the only one
    // The table is read on the side first; the page's own changes only once everything is read.
    const std::size_t tablePosition = ar.GetPosition();
    CGridModel scratch;
    scratch.Load(ar);
    ProfileSection read;
    read.layerCountIndex = ar.ReadInt32();
    read.spacingText = FromUtf8(ar.ReadLine());
    read.receiversDepthText = FromUtf8(ar.ReadLine());
    for (int *index :
        { &read.receiversIndex, &read.iterationsIndex, &read.modesIndex, &read.maxErrorIndex })
        *index = ar.ReadInt32();
    for (bool *ticked : { &read.apparentLegend, &read.strongContrasts, &read.effectiveLegend,
             &read.modesLegend, &read.experimentalLegend })
        *ticked = ar.ReadInt32() != 0;
    ar >> read.frequencies >> read.velocities >> read.upperBounds >> read.lowerBounds;
    read.apparentMisfit = ar.ReadFloat64();
    read.effectiveMisfit = ar.ReadFloat64();
    read.forwardValid = ar.ReadInt32() != 0;
    read.searchValid = ar.ReadInt32() != 0;
    const std::int32_t hasLayersFlag = ar.ReadInt32();
    if (hasLayersFlag != 0 && hasLayersFlag != 1)
        CMatrixArchive::ThrowBadClass();
    read.hasLayers = hasLayersFlag == 1;
    if (read.hasLayers) {
        ar >> read.apparentCurve >> read.effectiveCurve >> read.resultFrequencies
            >> read.modalVelocities >> read.relativeWidths >> read.pointIndices;
        read.uncertaintyIndex = ar.ReadInt32();
        if (version >= 1) {
            for (int reserved = 0; reserved < ReservedCount; ++reserved)
                ar.ReadInt32();
        }
        const int layers = scratch.GetRowCount() - scratch.GetFixedRowCount();
        for (int layer = 0; layer < layers; ++layer) {
            read.finalVs.push_back(ar.ReadFloat64());
            read.finalVsTexts.push_back(FromUtf8(ar.ReadCountedString()));
        }
    }
    const std::size_t end = ar.GetPosition();
    ar.SetPosition(tablePosition);
    table.Load(ar);
    ar.SetPosition(end);
    *this = read;
}

bool ProfileSection::operator==(const ProfileSection &other) const
{
    return layerCountIndex == other.layerCountIndex && spacingText == other.spacingText
        && receiversDepthText == other.receiversDepthText && receiversIndex == other.receiversIndex
        && iterationsIndex == other.iterationsIndex && modesIndex == other.modesIndex
        && maxErrorIndex == other.maxErrorIndex && apparentLegend == other.apparentLegend
        && strongContrasts == other.strongContrasts && effectiveLegend == other.effectiveLegend
        && modesLegend == other.modesLegend && experimentalLegend == other.experimentalLegend
        && SameMatrix(frequencies, other.frequencies) && SameMatrix(velocities, other.velocities)
        && SameMatrix(upperBounds, other.upperBounds) && SameMatrix(lowerBounds, other.lowerBounds)
        && apparentMisfit == other.apparentMisfit && effectiveMisfit == other.effectiveMisfit
        && forwardValid == other.forwardValid && searchValid == other.searchValid
        && hasLayers == other.hasLayers && SameMatrix(apparentCurve, other.apparentCurve)
        && SameMatrix(effectiveCurve, other.effectiveCurve)
        && SameMatrix(resultFrequencies, other.resultFrequencies)
        && SameMatrix(modalVelocities, other.modalVelocities)
        && SameMatrix(relativeWidths, other.relativeWidths)
        && SameMatrix(pointIndices, other.pointIndices)
        && uncertaintyIndex == other.uncertaintyIndex && finalVs == other.finalVs
        && finalVsTexts == other.finalVsTexts;
}
