// vela-cli profile: the profile page's default table for an experimental curve, with the
// initial Vs proposed from the curve, printed as a model file that forward and invert read.
#include "app/profile/CProfileTable.h"
#include "cli/CliCurveFile.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char *const Command = "profile";
// The default table's thicknesses [m]; a ninth layer repeats the last.
constexpr double DefaultThicknesses[] = { 2, 3, 3, 4, 4, 5, 5, 6, 6 };
constexpr double DefaultDensity = 1800.0;
constexpr double DefaultPoisson = 0.2;
// Points without bounds: +-15 %, as invert assumes.
constexpr double DefaultRelativeBound = 0.15;

} // namespace

int CmdProfile(int argc, char **argv)
{
    UseCliNumberFormat();
    std::vector<CliOption> given;
    std::string error;
    if (!SplitCliOptions(argc, argv, {}, given, error))
        return CliBadInput(Command, error);
    std::string curvePath;
    int layers = CProfileTable::DefaultLayers;
    for (const CliOption &option : given) {
        if (option.name == "--curve") {
            curvePath = option.value;
        } else if (option.name == "--layers") {
            if (!CliWholeOption(option, 1, CProfileTable::MaxLayers, layers, error))
                return CliBadInput(Command, error);
        } else {
            return CliBadInput(Command, CliUnknownOption(option));
        }
    }
    if (!CliRequireOption(curvePath, "--curve FILE", error))
        return CliBadInput(Command, error);
    CliCurve curve;
    if (!ReadCliCurveFile(curvePath, curve, error))
        return CliBadInput(Command, error);

    ExperimentalCurve experimental;
    std::vector<double> high, low;
    for (int k = 0; k < curve.PointCount(); ++k) {
        const double v = curve.velocities[std::size_t(k)];
        const bool bounded = curve.hasBounds[std::size_t(k)];
        high.push_back(bounded ? curve.maximum[std::size_t(k)] : (1 + DefaultRelativeBound) * v);
        low.push_back(bounded ? curve.minimum[std::size_t(k)] : (1 - DefaultRelativeBound) * v);
    }
    experimental.frequencies = CMatrix::Column(curve.frequencies);
    experimental.velocities = CMatrix::Column(curve.velocities);
    experimental.maxVelocities = CMatrix::Column(high);
    experimental.minVelocities = CMatrix::Column(low);
    const std::vector<double> thicknesses(DefaultThicknesses, DefaultThicknesses + layers);
    const InitialVsProposal proposal = ProposeInitialVs(experimental, thicknesses);

    std::printf("# initial profile for %s\n", curvePath.c_str());
    std::printf("# thickness_m,vp_m_s,vs_m_s,density_kg_m3,poisson,vs_min_m_s,vs_max_m_s\n");
    for (std::size_t l = 0; l < proposal.vs.size(); ++l) {
        const double vs = proposal.vs[l];
        std::printf("%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g\n",
            l < thicknesses.size() ? thicknesses[l] : 0.0, VpFromVsPoisson(vs, DefaultPoisson), vs,
            DefaultDensity, DefaultPoisson, 0.5 * vs, 2.0 * vs);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
