// vela-cli classify: Vs30 and the seismic soil category of a model's profile, answered as the
// results page would be by an engineer with nothing special to declare.
#include "app/results/CSoilClassification.h"
#include "cli/CliModelFile.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char *const Command = "classify";

struct ClassifyOptions
{
    std::string modelPath;
    double offset = 0.0;
    SoilCode code = SoilCode::Dm2008;
};

bool ParseCode(const std::string &name, SoilCode &code)
{
    const struct
    {
        const char *name;
        SoilCode code;
    } codes[] = { { "dm2008", SoilCode::Dm2008 }, { "opcm2003", SoilCode::Opcm2003 },
        { "ntc2018", SoilCode::Ntc2018 }, { "asce7-22", SoilCode::Asce722 } };
    for (const auto &known : codes) {
        if (name == known.name) {
            code = known.code;
            return true;
        }
    }
    return false;
}

bool ParseOptions(int argc, char **argv, ClassifyOptions &options, std::string &error)
{
    std::vector<CliOption> given;
    if (!SplitCliOptions(argc, argv, {}, given, error))
        return false;
    for (const CliOption &option : given) {
        if (option.name == "--model") {
            options.modelPath = option.value;
        } else if (option.name == "--offset") {
            if (!CliNumberOption(option, options.offset, error))
                return false;
            if (options.offset < 0.0) {
                error = "--offset needs a depth of 0 m or more";
                return false;
            }
        } else if (option.name == "--code") {
            if (!ParseCode(option.value, options.code)) {
                error = "--code must be dm2008, opcm2003, ntc2018 or asce7-22, not '" + option.value
                    + "'";
                return false;
            }
        } else {
            error = CliUnknownOption(option);
            return false;
        }
    }
    return CliRequireOption(options.modelPath, "--model FILE", error);
}

// Thickness (column 1) and final Vs (column 3) of every layer; the half-space last.
bool ReadProfile(const std::string &path, std::vector<SoilLayer> &layers, std::string &error)
{
    CliModel model;
    if (!ReadCliModelFile(path, model, error)
        || !CheckCliModelColumns(
            model, 4, 7, "4 to 7 numbers (thickness, Vp, Vs, density, ...)", error))
        return false;
    for (const CliModelLayer &line : model.layers) {
        if (!(line.values[2] > 0.0)) {
            error = CliWhere(model.path, line.lineNumber) + "Vs must be above 0";
            return false;
        }
        layers.push_back({ line.values[0], line.values[2], false });
    }
    layers.back().thickness = 0.0;
    return true;
}

} // namespace

int CmdClassify(int argc, char **argv)
{
    UseCliNumberFormat();
    ClassifyOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error))
        return CliBadInput(Command, error);
    std::vector<SoilLayer> layers;
    if (!ReadProfile(options.modelPath, layers, error))
        return CliBadInput(Command, error);

    CSoilClassification classification;
    classification.SetProfile(layers);
    classification.Init();
    classification.SetCode(options.code);
    // The written rule measures from the reference plane under every code.
    classification.SetOffset(options.offset);
    classification.AnswerPlainly();

    std::printf("vs30_ms: %.10g\n", classification.Vs30());
    if (options.code == SoilCode::Ntc2018) {
        const EquivalentVelocity equivalent = classification.VsEq();
        std::printf("vseq_ms: %.10g\nh_m: %.10g\n", equivalent.vsEq, equivalent.h);
    } else if (options.code == SoilCode::Asce722) {
        std::printf("vs100ft_ms: %.10g\n", classification.Vs100ft());
    }
    const QString category = classification.Category();
    std::printf("category: %s\n", category.isEmpty() ? "none" : category.toLatin1().constData());
    return 0;
}
