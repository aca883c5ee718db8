// Layered ground models for vela-cli: one layer per line, the half-space last.
#ifndef VELA_CLI_CLIMODELFILE_H
#define VELA_CLI_CLIMODELFILE_H

#include <functional>
#include <string>
#include <vector>

/// One layer line of a model file. Columns: thickness [m], Vp [m/s], Vs [m/s],
/// density [kg/m^3], then optionally Poisson's ratio, then optionally Vs min and Vs max
/// [m/s]. Only the first `columnCount` entries of `values` were given.
struct CliModelLayer
{
    std::vector<double> values; ///< the numbers of the line, in file order
    int columnCount = 0; ///< how many numbers the line held (4 to 7)
    int lineNumber = 0; ///< 1-based line in the file, for messages
};

/// A model file as read: the layers from the top, the half-space last (its thickness is
/// meaningless and ignored by every command).
struct CliModel
{
    std::string path;
    std::vector<CliModelLayer> layers;
};

/// Most layers a model may hold, half-space included.
constexpr int CliModelMaxLayers = 99;

/// Reads a model file. Numbers are separated by blanks, tabs or commas; blank lines and
/// lines whose first non-blank character is '#' or '%' are ignored. Numbers are read
/// without regard to the locale ('.' is the decimal point).
/// Fails, with a one-line message naming the file (and the line where there is one), on:
/// a file that cannot be read, a token that is not a finite number, a line with fewer than
/// 4 or more than 7 numbers, a negative thickness, velocity or density, a layer above the
/// half-space whose thickness is not positive, no layer at all, and more than
/// CliModelMaxLayers layers.
/// \return true and `model` filled, or false and `error` set
bool ReadCliModelFile(const std::string &path, CliModel &model, std::string &error);

/// Checks that every layer line holds between minColumns and maxColumns numbers; the
/// message names the first offending line and what is expected (`expected`, e.g.
/// "4 numbers (thickness, Vp, Vs, density)").
bool CheckCliModelColumns(const CliModel &model, int minColumns, int maxColumns,
    const std::string &expected, std::string &error);

/// Parses one number without locale (from_chars); rejects trailing characters, an empty
/// token and non-finite values.
bool ParseCliNumber(const std::string &token, double &value);

/// Splits a line into tokens at blanks, tabs, carriage returns and commas.
std::vector<std::string> SplitCliLine(const std::string &line);

/// True for a blank line and for a comment line (first non-blank character '#' or '%').
bool IsCliIgnoredLine(const std::string &line);

/// The "FILE:LINE: " prefix of the messages about one line of a file.
std::string CliWhere(const std::string &path, int lineNumber);

/// The profile in the engine's terms, one entry per layer from the top (the half-space
/// last) except for the thicknesses, which the half-space has not.
struct CliEngineProfile
{
    std::vector<double> thickness; ///< [m]
    std::vector<double> density; ///< [g/cm^3]
    std::vector<double> vs; ///< [m/s]
    std::vector<double> poisson; ///< Poisson's ratio, from column 5 or from Vp and Vs
};

/// A sub-command's own check of one layer line, run after the common ones; `where` is the
/// line's message prefix.
using CliLayerCheck =
    std::function<bool(const CliModelLayer &layer, const std::string &where, std::string &error)>;

/// Converts a model for the engine: densities from kg/m^3 to g/cm^3, Poisson's ratio from
/// column 5 when present (Vp is then not used), else from Vp and Vs. Layer by layer, fails
/// with a one-line message on a Vs or density that is not positive, a Vp not above Vs when
/// Poisson's ratio is derived, a Poisson's ratio outside (-1, 0.5), or on what `check`
/// refuses.
bool ToCliEngineProfile(const CliModel &model, CliEngineProfile &profile, std::string &error,
    const CliLayerCheck &check = CliLayerCheck());

#endif // VELA_CLI_CLIMODELFILE_H
