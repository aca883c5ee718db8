// Command-line options of the vela-cli sub-commands.
#include "cli/CliOptions.h"

#include "cli/CliModelFile.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>

bool SplitCliOptions(int argc, char **argv, const std::vector<std::string> &flags,
    std::vector<CliOption> &options, std::string &error)
{
    options.clear();
    for (int i = 0; i < argc; ++i) {
        const std::string name = argv[i];
        if (std::find(flags.begin(), flags.end(), name) != flags.end()) {
            options.push_back({ name, std::string() });
            continue;
        }
        if (name.rfind("--", 0) != 0) {
            error = "unexpected argument '" + name + "'";
            return false;
        }
        if (i + 1 >= argc) {
            error = "option " + name + " needs a value";
            return false;
        }
        options.push_back({ name, argv[++i] });
    }
    return true;
}

bool CliNumberOption(const CliOption &option, double &value, std::string &error)
{
    double number = 0.0;
    if (ParseCliNumber(option.value, number)) {
        value = number;
        return true;
    }
    error = "option " + option.name + ": '" + option.value + "' is not a number";
    return false;
}

bool CliRefinementOption(const CliOption &option, double &value, std::string &error)
{
    double number = 0.0;
    if (!CliNumberOption(option, number, error))
        return false;
    if (!std::isfinite(number) || number > MaxCliRefinement) {
        error = "option " + option.name + ": the refinement factor must not exceed "
            + std::to_string(static_cast<int>(MaxCliRefinement)) + ", got '" + option.value + "'";
        return false;
    }
    value = number;
    return true;
}

bool CliWholeOption(
    const CliOption &option, int lowest, int highest, int &value, std::string &error)
{
    double number = 0.0;
    if (!CliNumberOption(option, number, error))
        return false;
    if (number != std::floor(number) || number < lowest || number > highest) {
        error = "option " + option.name + ": expected a whole number from " + std::to_string(lowest)
            + " to " + std::to_string(highest) + ", got '" + option.value + "'";
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

bool CliPositiveOption(
    const CliOption &option, const std::string &what, double &value, std::string &error)
{
    double number = 0.0;
    if (!CliNumberOption(option, number, error))
        return false;
    if (!(number > 0.0)) {
        error =
            "option " + option.name + ": " + what + " must be positive, got '" + option.value + "'";
        return false;
    }
    value = number;
    return true;
}

std::string CliUnknownOption(const CliOption &option)
{
    return "unknown option '" + option.name + "'";
}

bool CliRequireOption(const std::string &value, const std::string &what, std::string &error)
{
    if (!value.empty())
        return true;
    error = "missing " + what;
    return false;
}

int CliBadInput(const char *command, const std::string &message)
{
    std::fprintf(stderr, "vela-cli %s: %s\n", command, message.c_str());
    return 2;
}

int CliFailure(const char *command, const std::string &message)
{
    std::fprintf(stderr, "vela-cli %s: %s\n", command, message.c_str());
    return 1;
}

void UseCliNumberFormat() { std::setlocale(LC_NUMERIC, "C"); }
