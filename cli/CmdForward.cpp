// vela-cli forward: the trial-and-error run of the engine on a model file and an experimental
// curve: modal, apparent and effective curves as CSV, and the two misfits.
#include "cli/CliCurveFile.h"
#include "cli/CliModelFile.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "engine/RayleighSolver.h"
#include "engine/VelamodCode.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The effective curve's spatial FFT has 8192 points.
constexpr int MaxReceivers = 8192;

const char *const Command = "forward";

struct ForwardOptions
{
    std::string modelPath;
    std::string curvePath;
    double spacing = 1.0;
    int receivers = 24;
    int modes = 3;
    double refinement = 5.0;
};

bool ParseOptions(int argc, char **argv, ForwardOptions &options, std::string &error)
{
    std::vector<CliOption> given;
    if (!SplitCliOptions(argc, argv, {}, given, error))
        return false;
    for (const CliOption &option : given) {
        bool ok = true;
        if (option.name == "--model") {
            options.modelPath = option.value;
        } else if (option.name == "--curve") {
            options.curvePath = option.value;
        } else if (option.name == "--spacing") {
            ok = CliPositiveOption(option, "the receiver spacing", options.spacing, error);
        } else if (option.name == "--receivers") {
            ok = CliWholeOption(option, 1, MaxReceivers, options.receivers, error);
        } else if (option.name == "--modes") {
            ok = CliWholeOption(option, 1, RayleighMaxModes, options.modes, error);
        } else if (option.name == "--refine") {
            ok = CliRefinementOption(option, options.refinement, error);
        } else {
            error = CliUnknownOption(option);
            ok = false;
        }
        if (!ok)
            return false;
    }
    return CliRequireOption(options.modelPath, "--model FILE", error)
        && CliRequireOption(options.curvePath, "--curve FILE", error);
}

// Keeps the engine's progress lines ("SegnalaStep n") out of the CSV on standard output.
class QuietStandardOutput
{
public:
    QuietStandardOutput()
    {
        std::fflush(stdout);
        m_saved = dup(STDOUT_FILENO);
        const int sink = open("/dev/null", O_WRONLY);
        if (m_saved >= 0 && sink >= 0)
            dup2(sink, STDOUT_FILENO);
        if (sink >= 0)
            close(sink);
    }
    ~QuietStandardOutput()
    {
        std::fflush(stdout);
        if (m_saved >= 0) {
            dup2(m_saved, STDOUT_FILENO);
            close(m_saved);
        }
    }
    QuietStandardOutput(const QuietStandardOutput &) = delete;
    QuietStandardOutput &operator=(const QuietStandardOutput &) = delete;

private:
    int m_saved = -1;
};

void PrintMisfit(const char *name, double misfit)
{
    if (misfit >= VelamodCode::NoMisfit)
        std::printf("# %s misfit: none (no frequency inside the modal band)\n", name);
    else
        std::printf("# %s misfit: %.6g\n", name, misfit);
}

} // namespace

int CmdForward(int argc, char **argv)
{
    UseCliNumberFormat();
    ForwardOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error))
        return CliBadInput(Command, error);

    CliModel model;
    CliEngineProfile profile;
    if (!ReadCliModelFile(options.modelPath, model, error)
        || !ToCliEngineProfile(model, profile, error))
        return CliBadInput(Command, error);
    CliCurve curve;
    if (!ReadCliCurveFile(options.curvePath, curve, error))
        return CliBadInput(Command, error);

    const CMatrix frequencies = CMatrix::Column(curve.frequencies);
    const int frequencyCount = frequencies.GetCount();
    const CMatrix experimental = CMatrix::Column(curve.velocities);
    // The manual run weighs every point alike: the bounds play no part in its misfits.
    const CMatrix deviations(frequencyCount, 1);
    CMatrix thicknesses(static_cast<int>(profile.thickness.size()), 1);
    for (std::size_t l = 0; l < profile.thickness.size(); ++l)
        thicknesses.Set(static_cast<int>(l), profile.thickness[l]);
    const CMatrix densities = CMatrix::Column(profile.density);
    const CMatrix vs = CMatrix::Column(profile.vs);
    const CMatrix poisson = CMatrix::Column(profile.poisson);
    std::vector<double> offsetValues;
    for (int j = 1; j <= options.receivers; ++j)
        offsetValues.push_back(j * options.spacing);
    const CMatrix offsets = CMatrix::Column(offsetValues);

    bool stop = false;
    int spareA = 0, spareB = 0;
    double firstMisfit = VelamodCode::NoMisfit, secondMisfit = VelamodCode::NoMisfit;
    double currentMisfit = 0.0, targetMisfit = 0.0;
    CMatrix spareMatrixA, spareMatrixB;
    CMatrix modelVs, modal, frequenciesUsed;
    CComplexMatrix effective, meanApparent;
    std::vector<CComplexMatrix> sensitivities(profile.vs.size());
    VelamodCode engine;
    engine.SetPointer(&stop, &spareA, &secondMisfit, &firstMisfit, &currentMisfit, &targetMisfit,
        &spareB, &spareMatrixA, &spareMatrixB, NoNotificationWindow);
    int result = 0;
    {
        QuietStandardOutput quiet;
        result = engine.IdentificazioneManuale(frequencies, experimental, deviations, thicknesses,
            densities, vs, poisson, options.modes, static_cast<float>(options.refinement), offsets,
            0.0, 0.0, modelVs, effective, meanApparent, modal, sensitivities.data(),
            frequenciesUsed);
    }
    if (result != 0)
        return CliFailure(
            Command, "the forward computation failed (code " + std::to_string(result) + ")");

    std::printf("freq_hz,experimental,apparent,effective");
    for (int mode = 1; mode <= options.modes; ++mode)
        std::printf(",mode%d", mode);
    std::printf("\n");
    for (int i = 0; i < frequencyCount; ++i) {
        std::printf("%.9g,%.9g,%.9g,%.9g", frequencies(i), experimental(i),
            meanApparent(i).Modulus(), effective(i).Real());
        for (int mode = 0; mode < options.modes; ++mode)
            std::printf(",%.9g", modal(i, mode));
        std::printf("\n");
    }
    PrintMisfit("apparent", firstMisfit);
    PrintMisfit("effective", secondMisfit);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
