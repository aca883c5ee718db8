// Reading of the layered model files of vela-cli.
#include "cli/CliModelFile.h"

#include <charconv>
#include <cmath>
#include <fstream>

namespace {

std::string Where(const std::string &path, int lineNumber)
{
    return path + ":" + std::to_string(lineNumber) + ": ";
}

// Comment and blank lines carry no layer.
bool IsIgnoredLine(const std::string &line)
{
    const std::size_t first = line.find_first_not_of(" \t\r");
    return first == std::string::npos || line[first] == '#' || line[first] == '%';
}

const char *const ColumnNames[] = { "thickness", "Vp", "Vs", "density", "Poisson's ratio", "Vs min",
    "Vs max" };

} // namespace

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
        if (IsIgnoredLine(line))
            continue;
        const std::vector<std::string> tokens = SplitCliLine(line);
        CliModelLayer layer;
        layer.lineNumber = lineNumber;
        for (const std::string &token : tokens) {
            double value = 0.0;
            if (!ParseCliNumber(token, value)) {
                error = Where(path, lineNumber) + "'" + token + "' is not a number";
                return false;
            }
            layer.values.push_back(value);
        }
        layer.columnCount = static_cast<int>(layer.values.size());
        if (layer.columnCount < 4 || layer.columnCount > 7) {
            error = Where(path, lineNumber)
                + "expected 4 to 7 numbers (thickness, Vp, Vs, "
                  "density [, Poisson's ratio [, Vs min, Vs max]]), found "
                + std::to_string(layer.columnCount);
            return false;
        }
        for (int column = 0; column < layer.columnCount; ++column) {
            // The Poisson's ratio may be negative in principle; everything else may not.
            if (column != 4 && layer.values[column] < 0.0) {
                error = Where(path, lineNumber) + "negative " + ColumnNames[column] + " "
                    + tokens[column];
                return false;
            }
        }
        model.layers.push_back(std::move(layer));
        if (static_cast<int>(model.layers.size()) > CliModelMaxLayers) {
            error = Where(path, lineNumber) + "more than " + std::to_string(CliModelMaxLayers)
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
    return true;
}

bool CheckCliModelColumns(const CliModel &model, int minColumns, int maxColumns,
    const std::string &expected, std::string &error)
{
    for (const CliModelLayer &layer : model.layers) {
        if (layer.columnCount < minColumns || layer.columnCount > maxColumns) {
            error = Where(model.path, layer.lineNumber) + "expected " + expected + ", found "
                + std::to_string(layer.columnCount) + " numbers";
            return false;
        }
    }
    return true;
}
