// Command-line handling shared by the vela-cli sub-commands: "--name VALUE" options, their
// numeric values, and the one-line messages of bad input.
#ifndef VELA_CLI_CLIOPTIONS_H
#define VELA_CLI_CLIOPTIONS_H

#include <string>
#include <vector>

/// One option of the command line; a flag (an option without value) has an empty value.
struct CliOption
{
    std::string name;
    std::string value;
};

/// Splits a sub-command's arguments into options. Every argument must start with "--";
/// the names in `flags` stand alone, every other option takes the next argument as its
/// value (whatever it looks like). Fails on an argument that is not an option and on an
/// option without its value.
bool SplitCliOptions(int argc, char **argv, const std::vector<std::string> &flags,
    std::vector<CliOption> &options, std::string &error);

/// The option's value as a finite number, read without locale. Like the helpers below, it
/// leaves `value` alone when it fails.
bool CliNumberOption(const CliOption &option, double &value, std::string &error);

/// The option's value as a whole number from `lowest` to `highest`.
bool CliWholeOption(
    const CliOption &option, int lowest, int highest, int &value, std::string &error);

/// The option's value as a number above zero; `what` names the quantity in the message
/// (e.g. "the receiver spacing").
bool CliPositiveOption(
    const CliOption &option, const std::string &what, double &value, std::string &error);

/// Largest refinement factor the commands accept. The solver's work grows with the square
/// of the factor: 100 already takes minutes per curve, and larger values would run for hours.
constexpr double MaxCliRefinement = 100.0;

/// The --refine value: any number up to MaxCliRefinement (values below 1 select the
/// solver's default, as in the engine).
bool CliRefinementOption(const CliOption &option, double &value, std::string &error);

/// The message for an option the sub-command does not know.
std::string CliUnknownOption(const CliOption &option);

/// Fails with "missing WHAT" (e.g. "--model FILE") when a required option's value is empty.
bool CliRequireOption(const std::string &value, const std::string &what, std::string &error);

/// Prints "vela-cli COMMAND: MESSAGE" on standard error and returns the exit code of bad
/// input, 2.
int CliBadInput(const char *command, const std::string &message);

/// Prints "vela-cli COMMAND: MESSAGE" on standard error and returns the exit code of any
/// other failure, 1.
int CliFailure(const char *command, const std::string &message);

/// The Qt application object adopts the user's locale; the CSV output needs '.' decimals
/// whatever the user's settings.
void UseCliNumberFormat();

#endif // VELA_CLI_CLIOPTIONS_H
