// The ground-profile page's section of the analysis document, as plain data: what the page
// writes after its section header and reads back, in the document's order.
#ifndef VELA_APP_SHELL_PROFILESECTION_H
#define VELA_APP_SHELL_PROFILESECTION_H

#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <QString>

#include <vector>

class CGridModel;
class CMatrixArchive;

/// The profile page's state besides its layer table.
struct ProfileSection
{
    int layerCountIndex = 0; ///< selection of "Number of layers"
    QString spacingText; ///< the receiver spacing field, as typed
    QString receiversDepthText; ///< the receivers depth field, as typed
    int receiversIndex = 0; ///< selection of "Number of receivers"
    int iterationsIndex = 0; ///< selection of "Number of iterations"
    int modesIndex = 0; ///< selection of "Number of modes"
    int maxErrorIndex = 0; ///< selection of "Maximum error [%]"
    bool apparentLegend = false; ///< the chart's "Apparent" box ticked
    bool strongContrasts = false; ///< "Allow strong stiffness contrasts" ticked
    bool effectiveLegend = false;
    bool modesLegend = false;
    bool experimentalLegend = false;
    CMatrix frequencies { 0, 1 }; ///< experimental curve [Hz]
    CMatrix velocities { 0, 1 }; ///< [m/s]
    CMatrix upperBounds { 0, 1 }; ///< [m/s]
    CMatrix lowerBounds { 0, 1 }; ///< [m/s]
    double apparentMisfit = 1e99; ///< fraction; 1e99 for none
    double effectiveMisfit = 1e99;
    bool forwardValid = false;
    bool searchValid = false;
    /// Whether the profile has layers; the results below are stored only then.
    bool hasLayers = false;
    CComplexMatrix apparentCurve;
    CComplexMatrix effectiveCurve;
    CMatrix resultFrequencies { 0, 1 }; ///< [Hz]
    CMatrix modalVelocities { 0, 0 }; ///< one row per frequency, one column per mode [m/s]
    CMatrix relativeWidths { 0, 1 }; ///< per layer
    CMatrix pointIndices { 0, 1 }; ///< per layer
    int uncertaintyIndex = 0; ///< selection of the uncertainty list
    std::vector<double> finalVs; ///< per layer [m/s]
    std::vector<QString> finalVsTexts; ///< per layer, as shown

    /// Writes the section: separator, tag "PPT", version 1.0, the layer table, then the
    /// fields in the document's order (999 zero int32 reserved after the uncertainty list in
    /// the current format version, none in version 0; a final Vs value and text for every
    /// layer of the table).
    void Write(CMatrixArchive &ar, const CGridModel &table, int version) const;
    /// Reads a section written by Write. Everything is read before `table` and this object
    /// change; throws CArchiveException, changing nothing, on bytes that are not a profile
    /// section.
    void Read(CMatrixArchive &ar, CGridModel &table, int version);

    bool operator==(const ProfileSection &other) const;
};

/// Tag of the profile page's section.
inline constexpr const char *ProfileSectionTag = "PPT";

#endif // VELA_APP_SHELL_PROFILESECTION_H
