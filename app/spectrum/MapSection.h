// The two-dimensional shear-velocity section of several analyses along a line: the final
// profiles read from saved documents or text files, the section picture and its RTF report.
// Plain code (QtGui for the picture), shared by the 2D map dialog and vela-cli.
#ifndef VELA_APP_SPECTRUM_MAPSECTION_H
#define VELA_APP_SPECTRUM_MAPSECTION_H

#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

/// The final profile of one analysis: layers from the top, the half-space last.
struct MapProfile
{
    QString path; ///< the file it was read from
    std::vector<double> thickness; ///< m
    std::vector<double> velocity; ///< S velocity [m/s]
    std::vector<double> bottom; ///< bottom depth: running sum of the thicknesses [m]
    double leastVelocity = 1e9;
    double greatestVelocity = 0.0;

    int LayerCount() const { return static_cast<int>(velocity.size()); }
};

/// Builds a profile from its layers (bottom depths and velocity range included).
MapProfile MakeMapProfile(
    const std::vector<double> &thickness, const std::vector<double> &velocity);

/// Most layers a profile may hold; more are taken for foreign data rather than drawn.
constexpr int MapMaxLayers = 1000;

/// Width of the band between two neighbouring profiles, in pixels.
constexpr int MapPixelsPerSpacing = 20;
/// Height of the section picture, in pixels.
constexpr int MapSectionRows = 100;

/// The outcome of reading one file; `message` (already in the interface language) says why
/// nothing was read.
struct MapReadResult
{
    bool ok = false;
    MapProfile profile;
    QString message;
};

/// The section picture and the area it covers.
struct MapSectionImage
{
    QImage image; ///< 20 (m - 1) + 1 by 100 pixels; null without profiles
    double length = 0.0; ///< right edge: (m - 1) x spacing [m]
    double zMax = 0.0; ///< deepest bottom of the profiles' last layers [m]
    double depth = 0.0; ///< bottom edge: 1.1 x zMax [m]
    double vMin = 0.0; ///< least S velocity of the set [m/s]
    double vMax = 0.0; ///< greatest S velocity of the set [m/s]
};

/// The colour scale beside a section: a column of `rows` pixels from the greatest velocity
/// (top) to the least (bottom), in the section's colours; one colour when the section has a
/// single velocity.
QImage MapScaleImage(double vMin, double vMax, int rows);
/// The same scale lying down, as the report shows it: least velocity at the left.
QImage MapScaleStrip(double vMin, double vMax, int width, int height);

/// Round velocities to label the colour scale with: steps of 1, 2 or 5 times a power of ten,
/// at least two and at most about six of them inside [vMin, vMax]; only vMin when the range is
/// empty.
std::vector<double> MapScaleTicks(double vMin, double vMax);

/// What the RTF report of a section holds besides the picture.
struct MapReport
{
    double spacing = 0.0; ///< distance between traces [m]
    QStringList files; ///< file names, in the order of the section
    MapSectionImage section;
    QString bannerPath; ///< the banner picture put at the head; skipped when missing
};

/// Reading, drawing and reporting of the section, for the map dialog and vela-cli.
class CMapSection
{
    Q_DECLARE_TR_FUNCTIONS(CMapSection)

public:
    /// Reads a profile from a file: a `.txt` file as text (ReadText), anything else as a
    /// document (ReadDocument).
    static MapReadResult ReadFile(const QString &path);
    /// Finds the results page's section in a document's bytes and reads the thickness
    /// (column 2) and S velocity (column 7) of every layer row of its summary table.
    static MapReadResult ReadDocument(const QByteArray &bytes);
    /// A text profile: the profile page's export (thickness and Vs per line, "Inf" for the
    /// half-space) or a model file (thickness, Vp, Vs, density and up to three more numbers per
    /// line, the half-space last). Lines starting with '%' or '#' and blank lines are skipped.
    static MapReadResult ReadText(const QString &text);

    /// Draws the section of the profiles, in their order, `spacing` metres apart (> 0).
    static MapSectionImage Draw(const std::vector<MapProfile> &profiles, double spacing);

    /// Writes the report of a section; false when the file could not be written completely
    /// (nothing is then left under its name).
    static bool WriteReport(const QString &path, const MapReport &report);

    /// The check of the distance field: empty text when `text` holds a positive number (put
    /// into `spacing`), otherwise the message to show.
    static QString CheckSpacing(const QString &text, double &spacing);

    /// "The file doesn't contain a complete VELA analysis".
    static QString NoResultsMessage();
};

#endif // VELA_APP_SPECTRUM_MAPSECTION_H
