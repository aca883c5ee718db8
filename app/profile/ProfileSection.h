// The profile page's section of a document ("PPT"): the table, the selections of its lists and
// boxes, the experimental curve and the results of the last run.
#ifndef VELA_APP_PROFILE_PROFILESECTION_H
#define VELA_APP_PROFILE_PROFILESECTION_H

#include "app/profile/ProfileRun.h"
#include "app/spectrum/DispersionAnalysis.h"

#include <QString>

#include <vector>

class CGridModel;
class CMatrixArchive;

/// The page's controls as the section keeps them.
struct ProfilePageState
{
    int layersIndex = 7; ///< "Number of layers" selection (8 layers)
    QString spacingText = QStringLiteral("1");
    QString depthText = QStringLiteral("0");
    int receiversIndex = 19; ///< "20"
    int iterationsIndex = 0;
    int modesIndex = 0;
    int errorIndex = 3; ///< "20"
    bool apparentBox = true;
    bool strongContrasts = false;
    bool effectiveBox = true;
    bool modesBox = true;
    bool experimentalBox = true;
    bool forwardValid = false;
    bool searchValid = false;
    int uncertaintyIndex = 0;
    CMatrix widths { 0, 1 };
    CMatrix points { 0, 1 };
    EnsembleSummary ensemble; ///< the last many-start search's findings
};

/// Writes the section body: the frame line, "PPT", the section version, then the fields in the
/// order documents keep them. `version` is the document format (999 spare zeros in version 1).
/// Section version 1.0 unless a many-start search left its findings: then 2.0, whose body is
/// version 1.0's followed by the findings (starts, stopped and missing-curves flags, normalised
/// misfit, Vs30 and its 10 % and 90 % points, depth of investigation, band, layers on bound).
void WriteProfileSection(CMatrixArchive &ar, int version, const CGridModel &table,
    const ProfilePageState &state, const DispersionAnalysis &analysis);

/// Reads what WriteProfileSection wrote into the table, the state and the analysis (curve,
/// misfits, results, final Vs). Throws the archive's exception on a short or foreign section.
void ReadProfileSection(CMatrixArchive &ar, int version, CGridModel &table, ProfilePageState &state,
    DispersionAnalysis &analysis);

/// The values the page's lists offer, in list order: the section keeps list indexes, so that
/// whoever writes a section without the page picks its values from these.
const std::vector<int> &ProfileReceiverItems();
const std::vector<int> &ProfileModeItems();
const std::vector<int> &ProfileIterationItems();
const std::vector<int> &ProfileErrorItems();
/// Index of `value` in `items`, -1 when the list does not offer it.
int ProfileListIndex(const std::vector<int> &items, int value);

#endif // VELA_APP_PROFILE_PROFILESECTION_H
