// vela-cli forward: the trial-and-error run of the engine on a model file and an experimental
// curve: modal, apparent and effective curves as CSV, and the two misfits.
#include "cli/CliModelFile.h"
#include "cli/Commands.h"
#include "engine/RayleighSolver.h"
#include "engine/VelamodCode.h"
#include "matrix/CComplexMatrix.h"
#include "matrix/CMatrix.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Points beyond this count are certainly not a picked dispersion curve.
constexpr int MaxCurvePoints = 10000;
// The effective curve's spatial FFT has 8192 points.
constexpr int MaxReceivers = 8192;

struct ForwardOptions
{
    std::string modelPath;
    std::string curvePath;
    double spacing = 1.0;
    int receivers = 24;
    int modes = 3;
    double refinement = 5.0;
};

int BadInput(const std::string &message)
{
    std::fprintf(stderr, "vela-cli forward: %s\n", message.c_str());
    return 2;
}

bool WholeNumber(double value, int lowest, int highest)
{
    return value == std::floor(value) && value >= lowest && value <= highest;
}

bool ParseOptions(int argc, char **argv, ForwardOptions &options, std::string &error)
{
    for (int i = 0; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc) {
            error = name.rfind("--", 0) == 0 ? "option " + name + " needs a value"
                                             : "unexpected argument '" + name + "'";
            return false;
        }
        const std::string value = argv[++i];
        if (name == "--model") {
            options.modelPath = value;
            continue;
        }
        if (name == "--curve") {
            options.curvePath = value;
            continue;
        }
        double number = 0.0;
        if (!ParseCliNumber(value, number)) {
            error = name.rfind("--", 0) == 0
                ? "option " + name + ": '" + value + "' is not a number"
                : "unexpected argument '" + name + "'";
            return false;
        }
        if (name == "--spacing") {
            if (!(number > 0.0)) {
                error =
                    "option --spacing: the receiver spacing must be positive, got '" + value + "'";
                return false;
            }
            options.spacing = number;
        } else if (name == "--receivers") {
            if (!WholeNumber(number, 1, MaxReceivers)) {
                error = "option --receivers: expected a whole number from 1 to "
                    + std::to_string(MaxReceivers) + ", got '" + value + "'";
                return false;
            }
            options.receivers = static_cast<int>(number);
        } else if (name == "--modes") {
            if (!WholeNumber(number, 1, RayleighMaxModes)) {
                error = "option --modes: expected a whole number from 1 to "
                    + std::to_string(RayleighMaxModes) + ", got '" + value + "'";
                return false;
            }
            options.modes = static_cast<int>(number);
        } else if (name == "--refine") {
            options.refinement = number;
        } else {
            error = "unknown option '" + name + "'";
            return false;
        }
    }
    if (options.modelPath.empty()) {
        error = "missing --model FILE";
        return false;
    }
    if (options.curvePath.empty()) {
        error = "missing --curve FILE";
        return false;
    }
    return true;
}

// The experimental curve: lines "frequency velocity [min max]"; "#" and "%" lines are comments.
bool ReadCurve(const std::string &path, std::vector<double> &frequencies,
    std::vector<double> &velocities, std::string &error)
{
    std::ifstream file(path);
    if (!file) {
        error = path + ": cannot open the curve file";
        return false;
    }
    std::string line;
    int lineNumber = 0;
    while (std::getline(file, line)) {
        ++lineNumber;
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#' || line[first] == '%')
            continue;
        const std::string where = path + ":" + std::to_string(lineNumber) + ": ";
        const std::vector<std::string> tokens = SplitCliLine(line);
        if (tokens.size() != 2 && tokens.size() != 4) {
            error = where
                + "expected 2 numbers (frequency, velocity) or 4 (with min and max), found "
                + std::to_string(tokens.size());
            return false;
        }
        double values[4] = {};
        for (std::size_t t = 0; t < tokens.size(); ++t) {
            if (!ParseCliNumber(tokens[t], values[t])) {
                error = where + "'" + tokens[t] + "' is not a number";
                return false;
            }
        }
        if (!(values[0] > 0.0)) {
            error = where + "the frequency must be positive";
            return false;
        }
        if (!frequencies.empty() && values[0] <= frequencies.back()) {
            error = where + "the frequencies must increase from line to line";
            return false;
        }
        if (!(values[1] > 0.0)) {
            error = where + "the velocity must be positive";
            return false;
        }
        frequencies.push_back(values[0]);
        velocities.push_back(values[1]);
        if (static_cast<int>(frequencies.size()) > MaxCurvePoints) {
            error = path + ": more than " + std::to_string(MaxCurvePoints) + " points";
            return false;
        }
    }
    if (frequencies.empty()) {
        error = path + ": no point in the curve file";
        return false;
    }
    return true;
}

// The profile in the engine's terms: densities in g/cm^3, Poisson's ratio per layer.
struct EngineProfile
{
    std::vector<double> thickness, density, vs, poisson;
};

bool ToEngineProfile(const CliModel &model, EngineProfile &profile, std::string &error)
{
    if (!CheckCliModelColumns(model, 4, 7,
            "4 to 7 numbers (thickness, Vp, Vs, density, [Poisson's ratio], [Vs min, Vs max])",
            error))
        return false;
    for (std::size_t i = 0; i < model.layers.size(); ++i) {
        const CliModelLayer &layer = model.layers[i];
        const std::string where = model.path + ":" + std::to_string(layer.lineNumber) + ": ";
        const double vp = layer.values[1], vs = layer.values[2], density = layer.values[3];
        if (!(vs > 0.0)) {
            error = where + "Vs must be positive";
            return false;
        }
        if (!(density > 0.0)) {
            error = where + "density must be positive";
            return false;
        }
        double poisson = 0.0;
        if (layer.columnCount >= 5) {
            poisson = layer.values[4];
        } else {
            if (!(vp > vs)) {
                error = where + "Vp must exceed Vs (or give Poisson's ratio in column 5)";
                return false;
            }
            poisson = (vp * vp - 2.0 * vs * vs) / (2.0 * (vp * vp - vs * vs));
        }
        if (!(poisson > -1.0 && poisson < 0.5)) {
            error = where + "Poisson's ratio must lie between -1 and 0.5";
            return false;
        }
        if (i + 1 < model.layers.size())
            profile.thickness.push_back(layer.values[0]);
        profile.density.push_back(density * 0.001);
        profile.vs.push_back(vs);
        profile.poisson.push_back(poisson);
    }
    return true;
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
    // The Qt application object adopts the user's locale; the CSV needs '.' decimals.
    std::setlocale(LC_NUMERIC, "C");
    ForwardOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error))
        return BadInput(error);

    CliModel model;
    EngineProfile profile;
    if (!ReadCliModelFile(options.modelPath, model, error)
        || !ToEngineProfile(model, profile, error))
        return BadInput(error);
    std::vector<double> frequencyValues, experimentalValues;
    if (!ReadCurve(options.curvePath, frequencyValues, experimentalValues, error))
        return BadInput(error);

    const CMatrix frequencies = CMatrix::Column(frequencyValues);
    const int frequencyCount = frequencies.GetCount();
    const CMatrix experimental = CMatrix::Column(experimentalValues);
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
    if (result != 0) {
        std::fprintf(
            stderr, "vela-cli forward: the forward computation failed (code %d)\n", result);
        return 1;
    }

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
