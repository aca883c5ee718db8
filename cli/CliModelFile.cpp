// Reading of the layered model files of vela-cli.
#include "cli/CliModelFile.h"

#include <charconv>
#include <cmath>
#include <fstream>

namespace {

const char *const ColumnNames[] = { "thickness", "Vp", "Vs", "density", "Poisson's ratio", "Vs min",
    "Vs max" };

} // namespace

std::string CliWhere(const std::string &path, int lineNumber)
{
    return path + ":" + std::to_string(lineNumber) + ": ";
}

bool IsCliIgnoredLine(const std::string &line)
{
    const std::size_t first = line.find_first_not_of(" \t\r");
    return first == std::string::npos || line[first] == '#' || line[first] == '%';
}

std::vector<std::string> SplitCliLine(const std::string &line)
{
    std::vector<std::string> tokens;
    std::string current;
    for (const char c : line) {
        if (c == ' ' || c == '\t' || c == '\r' || c == ',') {
            if (!current.empty())
                tokens.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        tokens.push_back(current);
    return tokens;
}

bool ParseCliNumber(const std::string &token, double &value)
{
    if (token.empty())
        return false;
    const char *begin = token.data();
    const char *end = token.data() + token.size();
    if (*begin == '+') // from_chars does not take a leading plus
        ++begin;
    const auto [stop, status] = std::from_chars(begin, end, value);
    return status == std::errc() && stop == end && std::isfinite(value);
}

bool ReadCliModelFile(const std::string &path, CliModel &model, std::string &error)
{
    model = CliModel();
    model.path = path;
    std::ifstream file(path);
    if (!file) {
        error = path + ": cannot open the model file";
        return false;
    }
    std::string line;
    int lineNumber = 0;
    while (std::getline(file, line)) {
        ++lineNumber;
        if (IsCliIgnoredLine(line))
            continue;
        const std::vector<std::string> tokens = SplitCliLine(line);
        CliModelLayer layer;
        layer.lineNumber = lineNumber;
        for (const std::string &token : tokens) {
            double value = 0.0;
            if (!ParseCliNumber(token, value)) {
                error = CliWhere(path, lineNumber) + "'" + token + "' is not a number";
                return false;
            }
            layer.values.push_back(value);
        }
        layer.columnCount = static_cast<int>(layer.values.size());
        if (layer.columnCount < 4 || layer.columnCount > 7) {
            error = CliWhere(path, lineNumber)
                + "expected 4 to 7 numbers (thickness, Vp, Vs, "
                  "density [, Poisson's ratio [, Vs min, Vs max]]), found "
                + std::to_string(layer.columnCount);
            return false;
        }
        for (int column = 0; column < layer.columnCount; ++column) {
            // The Poisson's ratio may be negative in principle; everything else may not.
            if (column != 4 && layer.values[column] < 0.0) {
                error = CliWhere(path, lineNumber) + "negative " + ColumnNames[column] + " "
                    + tokens[column];
                return false;
            }
        }
        model.layers.push_back(std::move(layer));
        if (static_cast<int>(model.layers.size()) > CliModelMaxLayers) {
            error = CliWhere(path, lineNumber) + "more than " + std::to_string(CliModelMaxLayers)
                + " layers (the half-space included)";
            return false;
        }
    }
    if (file.bad()) {
        error = path + ": read error";
        return false;
    }
    if (model.layers.empty()) {
        error = path + ": no layer in the model file";
        return false;
    }
    // A layer of no thickness is a typing slip, not a model; the half-space has none.
    for (std::size_t i = 0; i + 1 < model.layers.size(); ++i) {
        if (!(model.layers[i].values[0] > 0.0)) {
            error = CliWhere(path, model.layers[i].lineNumber)
                + "thickness must be positive (only the half-space, the last layer, has none)";
            return false;
        }
    }
    return true;
}

bool CheckCliModelColumns(const CliModel &model, int minColumns, int maxColumns,
    const std::string &expected, std::string &error)
{
    for (const CliModelLayer &layer : model.layers) {
        if (layer.columnCount < minColumns || layer.columnCount > maxColumns) {
            error = CliWhere(model.path, layer.lineNumber) + "expected " + expected + ", found "
                + std::to_string(layer.columnCount) + " numbers";
            return false;
        }
    }
    return true;
}

bool ToCliEngineProfile(const CliModel &model, CliEngineProfile &profile, std::string &error,
    const CliLayerCheck &check)
{
    profile = CliEngineProfile();
    // The reader guarantees this; a model built otherwise gets the same refusal.
    if (!CheckCliModelColumns(model, 4, 7,
            "4 to 7 numbers (thickness, Vp, Vs, density, [Poisson's ratio], [Vs min, Vs max])",
            error))
        return false;
    for (std::size_t i = 0; i < model.layers.size(); ++i) {
        const CliModelLayer &layer = model.layers[i];
        const std::string where = CliWhere(model.path, layer.lineNumber);
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
        if (check && !check(layer, where, error))
            return false;
        if (i + 1 < model.layers.size())
            profile.thickness.push_back(layer.values[0]);
        profile.density.push_back(density * 0.001);
        profile.vs.push_back(vs);
        profile.poisson.push_back(poisson);
    }
    return true;
}
