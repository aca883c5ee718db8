// Reading of the experimental-curve files of vela-cli.
#include "cli/CliCurveFile.h"

#include "cli/CliModelFile.h"

#include <fstream>

bool ReadCliCurveFile(const std::string &path, CliCurve &curve, std::string &error)
{
    curve = CliCurve();
    std::ifstream file(path);
    if (!file) {
        error = path + ": cannot open the curve file";
        return false;
    }
    std::string line;
    int lineNumber = 0;
    while (std::getline(file, line)) {
        ++lineNumber;
        if (IsCliIgnoredLine(line))
            continue;
        const std::string where = CliWhere(path, lineNumber);
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
        if (!curve.frequencies.empty() && values[0] <= curve.frequencies.back()) {
            error = where + "the frequencies must increase from line to line";
            return false;
        }
        if (!(values[1] > 0.0)) {
            error = where + "the velocity must be positive";
            return false;
        }
        const bool bounded = tokens.size() == 4;
        if (bounded && !(values[3] > values[2])) {
            error = where + "the maximum velocity must exceed the minimum";
            return false;
        }
        curve.frequencies.push_back(values[0]);
        curve.velocities.push_back(values[1]);
        curve.minimum.push_back(bounded ? values[2] : 0.0);
        curve.maximum.push_back(bounded ? values[3] : 0.0);
        curve.hasBounds.push_back(bounded);
        if (curve.PointCount() > CliCurveMaxPoints) {
            error = path + ": more than " + std::to_string(CliCurveMaxPoints) + " points";
            return false;
        }
    }
    if (file.bad()) {
        error = path + ": read error";
        return false;
    }
    if (curve.frequencies.empty()) {
        error = path + ": no point in the curve file";
        return false;
    }
    return true;
}

std::vector<double> CliCurveDeviations(const CliCurve &curve, double relativeWithoutBounds)
{
    std::vector<double> deviations;
    deviations.reserve(curve.frequencies.size());
    for (int i = 0; i < curve.PointCount(); ++i) {
        deviations.push_back(curve.hasBounds[i] ? (curve.maximum[i] - curve.minimum[i]) / 6.0
                                                : relativeWithoutBounds * curve.velocities[i]);
    }
    return deviations;
}
