// vela-cli modes: Rayleigh modal phase velocities of a layered model as CSV.
#include "cli/CliModelFile.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "engine/RayleighSolver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Frequencies beyond this count are certainly a typing error (a step of 1e-6 Hz, say).
constexpr long MaxFrequencies = 100000;

struct ModesOptions
{
    std::string modelPath;
    std::string frequencyPath;
    double fmin = 2.0;
    double fmax = 80.0;
    double df = 0.5;
    bool rangeGiven = false;
    int modes = 5;
    double refinement = 5.0;
};

const char *const Command = "modes";

bool ParseOptions(int argc, char **argv, ModesOptions &options, std::string &error)
{
    std::vector<CliOption> given;
    if (!SplitCliOptions(argc, argv, {}, given, error))
        return false;
    for (const CliOption &option : given) {
        const std::string &name = option.name;
        bool ok = true;
        if (name == "--model") {
            options.modelPath = option.value;
        } else if (name == "--freqs") {
            options.frequencyPath = option.value;
        } else if (name == "--fmin" || name == "--fmax" || name == "--df") {
            ok = CliNumberOption(option,
                name == "--fmin"       ? options.fmin
                    : name == "--fmax" ? options.fmax
                                       : options.df,
                error);
            options.rangeGiven = true;
        } else if (name == "--modes") {
            ok = CliWholeOption(option, 1, RayleighMaxModes, options.modes, error);
        } else if (name == "--refine") {
            ok = CliRefinementOption(option, options.refinement, error);
        } else {
            error = CliUnknownOption(option);
            ok = false;
        }
        if (!ok)
            return false;
    }
    if (!CliRequireOption(options.modelPath, "--model FILE", error))
        return false;
    if (!options.frequencyPath.empty() && options.rangeGiven) {
        error = "give either --freqs FILE or --fmin/--fmax/--df, not both";
        return false;
    }
    return true;
}

bool RangeFrequencies(
    const ModesOptions &options, std::vector<double> &frequencies, std::string &error)
{
    if (options.fmin < 0.0 || options.fmax < options.fmin || !(options.df > 0.0)) {
        error = "the frequency range needs 0 <= fmin <= fmax and df > 0";
        return false;
    }
    // A small allowance keeps fmax itself when (fmax - fmin) / df is whole up to rounding.
    const double steps = std::floor((options.fmax - options.fmin) / options.df + 1e-9);
    if (steps + 1 > MaxFrequencies) {
        error = "more than " + std::to_string(MaxFrequencies) + " frequencies";
        return false;
    }
    for (long i = 0; i <= static_cast<long>(steps); ++i)
        frequencies.push_back(options.fmin + static_cast<double>(i) * options.df);
    return true;
}

// Frequencies in Hz, separated by blanks, commas or line ends; "#" and "%" lines are comments.
bool FileFrequencies(const std::string &path, std::vector<double> &frequencies, std::string &error)
{
    std::ifstream file(path);
    if (!file) {
        error = path + ": cannot open the frequency file";
        return false;
    }
    std::string line;
    int lineNumber = 0;
    while (std::getline(file, line)) {
        ++lineNumber;
        if (IsCliIgnoredLine(line))
            continue;
        for (const std::string &token : SplitCliLine(line)) {
            double f = 0.0;
            if (!ParseCliNumber(token, f)) {
                error = CliWhere(path, lineNumber) + "'" + token + "' is not a number";
                return false;
            }
            if (f < 0.0) {
                error = CliWhere(path, lineNumber) + "negative frequency " + token;
                return false;
            }
            frequencies.push_back(f);
            if (static_cast<long>(frequencies.size()) > MaxFrequencies) {
                error = path + ": more than " + std::to_string(MaxFrequencies) + " frequencies";
                return false;
            }
        }
    }
    if (frequencies.empty()) {
        error = path + ": no frequency in the file";
        return false;
    }
    return true;
}

struct SolverModel
{
    std::vector<float> thicknessKm, vpKmS, vsKmS, density;
};

bool ToSolverModel(const CliModel &model, SolverModel &solver, std::string &error)
{
    if (!CheckCliModelColumns(model, 4, 4, "4 numbers (thickness, Vp, Vs, density)", error))
        return false;
    for (std::size_t i = 0; i < model.layers.size(); ++i) {
        const CliModelLayer &layer = model.layers[i];
        const std::string where = CliWhere(model.path, layer.lineNumber);
        if (!(layer.values[1] > 0.0)) {
            error = where + "Vp must be positive";
            return false;
        }
        if (!(layer.values[3] > 0.0)) {
            error = where + "density must be positive";
            return false;
        }
        if (!(layer.values[1] > layer.values[2])) {
            error = where + "Vp must exceed Vs";
            return false;
        }
        if (i + 1 < model.layers.size())
            solver.thicknessKm.push_back(static_cast<float>(layer.values[0] * 0.001));
        solver.vpKmS.push_back(static_cast<float>(layer.values[1] * 0.001));
        solver.vsKmS.push_back(static_cast<float>(layer.values[2] * 0.001));
        solver.density.push_back(static_cast<float>(layer.values[3] * 0.001));
    }
    if (solver.thicknessKm.empty())
        solver.thicknessKm.push_back(0.0f); // a lone half-space: the array must not be empty
    return true;
}

} // namespace

int CmdModes(int argc, char **argv)
{
    UseCliNumberFormat();
    ModesOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error))
        return CliBadInput(Command, error);

    CliModel model;
    SolverModel solver;
    if (!ReadCliModelFile(options.modelPath, model, error) || !ToSolverModel(model, solver, error))
        return CliBadInput(Command, error);

    std::vector<double> requested;
    if (!(options.frequencyPath.empty() ? RangeFrequencies(options, requested, error)
                                        : FileFrequencies(options.frequencyPath, requested, error)))
        return CliBadInput(Command, error);

    // The solver sweeps distinct frequencies downwards; hand it exactly that list, so that
    // its row r is the r-th of them, and print the rows upwards.
    std::vector<float> sweep;
    for (const double f : requested)
        sweep.push_back(static_cast<float>(f));
    std::sort(sweep.begin(), sweep.end(), [](float a, float b) { return a > b; });
    sweep.erase(std::unique(sweep.begin(), sweep.end(),
                    [](float a, float b) { return std::fabs(a - b) < 1.0e-7f; }),
        sweep.end());

    const int frequencyCount = static_cast<int>(sweep.size());
    const float layerCount = static_cast<float>(model.layers.size());
    const float refinement = static_cast<float>(options.refinement);
    std::vector<double> velocities(sweep.size() * static_cast<std::size_t>(options.modes), 0.0);
    SolveRayleighModes(solver.thicknessKm.data(), solver.vpKmS.data(), solver.vsKmS.data(),
        solver.density.data(), &layerCount, &frequencyCount, &options.modes, &refinement,
        sweep.data(), velocities.data());

    std::printf("freq_hz");
    for (int mode = 1; mode <= options.modes; ++mode)
        std::printf(",mode%d", mode);
    std::printf("\n");
    for (int row = frequencyCount - 1; row >= 0; --row) {
        std::printf("%.7g", static_cast<double>(sweep[static_cast<std::size_t>(row)]));
        for (int mode = 0; mode < options.modes; ++mode) {
            const double kmS = velocities[static_cast<std::size_t>(row) * options.modes + mode];
            std::printf(",%.9g", kmS * 1000.0);
        }
        std::printf("\n");
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
