// vela-cli map: the two-dimensional Vs section of several saved analyses along a line, read and
// drawn as the 2D map dialog does, without a window.
#include "app/spectrum/MapSection.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char *const Command = "map";

struct MapOptions
{
    std::vector<std::string> files;
    double spacing = 0.0;
    bool spacingGiven = false;
    std::string imagePath;
    std::string rtfPath;
};

// The files come first or between the options; every "--name" takes the next argument.
bool ParseOptions(int argc, char **argv, MapOptions &options, std::string &error)
{
    std::vector<char *> optionArgs;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) == 0) {
            optionArgs.push_back(argv[i]);
            if (i + 1 < argc)
                optionArgs.push_back(argv[++i]);
        } else {
            options.files.emplace_back(argv[i]);
        }
    }
    std::vector<CliOption> given;
    if (!SplitCliOptions(static_cast<int>(optionArgs.size()), optionArgs.data(), {}, given, error))
        return false;
    for (const CliOption &option : given) {
        if (option.name == "--spacing") {
            if (!CliPositiveOption(
                    option, "the distance between the traces", options.spacing, error))
                return false;
            options.spacingGiven = true;
        } else if (option.name == "--image") {
            options.imagePath = option.value;
        } else if (option.name == "--rtf") {
            options.rtfPath = option.value;
        } else {
            error = CliUnknownOption(option);
            return false;
        }
    }
    if (options.files.empty()) {
        error = "missing FILE (one saved analysis or more)";
        return false;
    }
    if (!options.spacingGiven) {
        error = "missing --spacing M";
        return false;
    }
    return CliRequireOption(options.imagePath, "--image OUT.png", error);
}

} // namespace

int CmdMap(int argc, char **argv)
{
    UseCliNumberFormat();
    MapOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error))
        return CliBadInput(Command, error);

    std::vector<MapProfile> profiles;
    QStringList names;
    for (const std::string &file : options.files) {
        const QString path = QString::fromLocal8Bit(file.c_str());
        const MapReadResult read = CMapSection::ReadFile(path);
        if (!read.ok)
            return CliBadInput(Command, file + ": " + read.message.toStdString());
        profiles.push_back(read.profile);
        names.append(QFileInfo(path).fileName());
    }

    const MapSectionImage section = CMapSection::Draw(profiles, options.spacing);
    if (!section.image.save(QString::fromLocal8Bit(options.imagePath.c_str()), "PNG"))
        return CliFailure(Command, "cannot write " + options.imagePath);
    if (!options.rtfPath.empty()) {
        MapReport report;
        report.spacing = options.spacing;
        report.files = names;
        report.section = section;
        report.bannerPath = QCoreApplication::applicationDirPath() + QStringLiteral("/VELAbar.jpg");
        if (!CMapSection::WriteReport(QString::fromLocal8Bit(options.rtfPath.c_str()), report))
            return CliFailure(Command, "cannot write " + options.rtfPath);
    }

    std::printf("profiles: %d\n", static_cast<int>(profiles.size()));
    std::printf("width_px: %d\n", section.image.width());
    std::printf("height_px: %d\n", section.image.height());
    std::printf("zmax_m: %.10g\n", section.zMax);
    std::printf("vmin_ms: %.10g\n", section.vMin);
    std::printf("vmax_ms: %.10g\n", section.vMax);
    return 0;
}
