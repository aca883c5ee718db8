#include "app/spectrum/MapSection.h"

#include "app/controls/CGridModel.h"
#include "app/results/RtfWriter.h"
#include "app/spectrum/FkSpectrum.h"
#include "matrix/CMatrixArchive.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

// The writer states a picture's size in hundredths of a millimetre where readers take twips,
// which shows it 1.76 times its natural size: half scale, as the report's figures use, brings
// it back within the page.
constexpr int PictureScalePercent = 50;

// The head of the results page's section: its frame line and tag line.
const char SectionMarker[] = "============================\r\nRIS\r\n";
constexpr int ThicknessColumn = 2;
constexpr int VelocityColumn = 7;
// Largest text profile read; anything bigger is not a profile.
constexpr qint64 MaxTextBytes = 4 * 1024 * 1024;

// A number as the user typed it: a "," stands for the decimal point.
bool ParseNumber(QString text, double &value)
{
    text = text.trimmed().replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double parsed = text.toDouble(&ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

MapReadResult Failed(const QString &message)
{
    MapReadResult result;
    result.message = message;
    return result;
}

// Common checks of a profile's layers; the half-space (last) may have any thickness, which is
// not used below it.
MapReadResult Checked(const std::vector<double> &thickness, const std::vector<double> &velocity)
{
    if (velocity.empty())
        return Failed(CMapSection::NoResultsMessage());
    if (static_cast<int>(velocity.size()) > MapMaxLayers)
        return Failed(CMapSection::tr("The profile has more than %1 layers").arg(MapMaxLayers));
    for (std::size_t k = 0; k < velocity.size(); ++k) {
        if (!(velocity[k] > 0.0))
            return Failed(CMapSection::tr("Layer %1: the S velocity must be above 0").arg(k + 1));
        if (thickness[k] < 0.0)
            return Failed(
                CMapSection::tr("Layer %1: the thickness must not be negative").arg(k + 1));
    }
    MapReadResult result;
    result.ok = true;
    result.profile = MakeMapProfile(thickness, velocity);
    return result;
}

// Reads the summary table that follows a marker; false when the bytes there are not one.
bool ReadTableAt(const QByteArray &bytes, qsizetype start, MapReadResult &result)
{
    try {
        CMatrixArchive ar(
            bytes.constData() + start, static_cast<std::size_t>(bytes.size() - start));
        ar.ReadFloat32(); // section version
        CGridModel table;
        table.Load(ar);
        if (table.GetColumnCount() <= VelocityColumn) {
            result = Failed(CMapSection::NoResultsMessage());
            return true;
        }
        const int layers = table.GetRowCount() - 1;
        std::vector<double> thickness;
        std::vector<double> velocity;
        for (int row = 1; row <= layers && row <= MapMaxLayers + 1; ++row) {
            double h = 0.0;
            double v = 0.0;
            if (!ParseNumber(table.GetItemText(row, VelocityColumn), v)) {
                result =
                    Failed(CMapSection::tr("Layer %1: the S velocity is not a number").arg(row));
                return true;
            }
            // The half-space has no thickness of its own: whatever stands there is not used.
            if (!ParseNumber(table.GetItemText(row, ThicknessColumn), h)) {
                if (row != layers) {
                    result =
                        Failed(CMapSection::tr("Layer %1: the thickness is not a number").arg(row));
                    return true;
                }
                h = 0.0;
            }
            thickness.push_back(h);
            velocity.push_back(v);
        }
        result = Checked(thickness, velocity);
        return true;
    } catch (const CArchiveException &) {
        return false;
    }
}

} // namespace

MapProfile MakeMapProfile(const std::vector<double> &thickness, const std::vector<double> &velocity)
{
    MapProfile profile;
    profile.thickness = thickness;
    profile.velocity = velocity;
    double depth = 0.0;
    for (std::size_t k = 0; k < velocity.size(); ++k) {
        depth += k < thickness.size() ? thickness[k] : 0.0;
        profile.bottom.push_back(depth);
        profile.leastVelocity = std::min(profile.leastVelocity, velocity[k]);
        profile.greatestVelocity = std::max(profile.greatestVelocity, velocity[k]);
    }
    profile.thickness.resize(velocity.size(), 0.0);
    return profile;
}

QString CMapSection::NoResultsMessage()
{
    return tr("The file doesn't contain a complete VELA analysis");
}

MapReadResult CMapSection::ReadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failed(tr("The file %1 cannot be read").arg(QFileInfo(path).fileName()));
    MapReadResult result;
    if (QFileInfo(path).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0) {
        if (file.size() > MaxTextBytes)
            return Failed(tr("The file doesn't hold a profile"));
        result = ReadText(QString::fromUtf8(file.readAll()));
    } else {
        result = ReadDocument(file.readAll());
    }
    result.profile.path = path;
    return result;
}

MapReadResult CMapSection::ReadDocument(const QByteArray &bytes)
{
    const QByteArray marker(SectionMarker, sizeof(SectionMarker) - 1);
    MapReadResult result = Failed(NoResultsMessage());
    // The first marker followed by a readable table holds the profile: a marker-like run of
    // bytes elsewhere in the file (inside a text of another page) is passed over.
    for (qsizetype at = bytes.indexOf(marker); at >= 0; at = bytes.indexOf(marker, at + 1)) {
        if (ReadTableAt(bytes, at + marker.size(), result))
            return result;
    }
    return result;
}

MapReadResult CMapSection::ReadText(const QString &text)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,;]+"));
    std::vector<double> thickness;
    std::vector<double> velocity;
    bool halfSpaceSeen = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('%'))
            || line.startsWith(QLatin1Char('#')))
            continue;
        const QString where = tr("Line %1: ").arg(i + 1);
        if (halfSpaceSeen)
            return Failed(where + tr("nothing may follow the half-space"));
        const QStringList tokens = line.split(separators, Qt::SkipEmptyParts);
        double h = 0.0;
        double v = 0.0;
        if (tokens.size() == 2) {
            if (tokens[0].compare(QLatin1String("Inf"), Qt::CaseInsensitive) == 0)
                halfSpaceSeen = true;
            else if (!ParseNumber(tokens[0], h))
                return Failed(where + tr("the thickness is not a number"));
            if (!ParseNumber(tokens[1], v))
                return Failed(where + tr("the S velocity is not a number"));
        } else if (tokens.size() >= 4 && tokens.size() <= 7) {
            double ignored = 0.0;
            for (const QString &token : tokens) {
                if (!ParseNumber(token, ignored))
                    return Failed(where + tr("'%1' is not a number").arg(token));
            }
            ParseNumber(tokens[0], h);
            ParseNumber(tokens[2], v);
        } else {
            return Failed(where + tr("expected thickness and Vs, or thickness, Vp, Vs, density"));
        }
        thickness.push_back(h);
        velocity.push_back(v);
        if (static_cast<int>(velocity.size()) > MapMaxLayers)
            break;
    }
    // The last layer is the half-space, whose thickness is not used.
    if (!thickness.empty())
        thickness.back() = 0.0;
    if (velocity.empty())
        return Failed(tr("The file doesn't hold a profile"));
    return Checked(thickness, velocity);
}

MapSectionImage CMapSection::Draw(const std::vector<MapProfile> &profiles, double spacing)
{
    MapSectionImage section;
    if (profiles.empty())
        return section;
    const int m = static_cast<int>(profiles.size());
    section.vMin = 1e9;
    section.vMax = 0.0;
    for (const MapProfile &profile : profiles) {
        if (profile.LayerCount() > 0)
            section.zMax = std::max(section.zMax, profile.bottom.back());
        section.vMax = std::max(section.vMax, profile.greatestVelocity);
        section.vMin = std::min(section.vMin, profile.leastVelocity);
    }
    section.length = (m - 1) * spacing;
    section.depth = 1.1 * section.zMax;

    const int width = MapPixelsPerSpacing * (m - 1) + 1;
    section.image = QImage(width, MapSectionRows, QImage::Format_ARGB32);
    // One velocity everywhere leaves no range to spread over the colours: all take the first.
    const double range = section.vMax - section.vMin;
    auto normalised = [&](double v) { return range > 0.0 ? (v - section.vMin) / range : 0.0; };

    // The layer walk: before each pixel row the current layer moves on by at most one when its
    // bottom lies above the row's depth.
    auto walk = [&](const MapProfile &profile, std::vector<double> &values) {
        values.assign(MapSectionRows, 0.0);
        const int n = profile.LayerCount();
        if (n == 0)
            return;
        int k = 0;
        for (int r = 0; r < MapSectionRows; ++r) {
            const double depth = r * 0.011 * section.zMax;
            if (k < n - 1 && profile.bottom[static_cast<std::size_t>(k)] < depth)
                ++k;
            values[static_cast<std::size_t>(r)] =
                normalised(profile.velocity[static_cast<std::size_t>(k)]);
        }
    };

    std::vector<double> a;
    std::vector<double> b;
    for (int p = 0; p + 1 < m; ++p) {
        walk(profiles[static_cast<std::size_t>(p)], a);
        walk(profiles[static_cast<std::size_t>(p + 1)], b);
        for (int r = 0; r < MapSectionRows; ++r) {
            auto *line = reinterpret_cast<QRgb *>(section.image.scanLine(r));
            const double va = a[static_cast<std::size_t>(r)];
            const double vb = b[static_cast<std::size_t>(r)];
            for (int c = 0; c < MapPixelsPerSpacing; ++c) {
                const double value =
                    (c * vb + (MapPixelsPerSpacing - 1 - c) * va) / (MapPixelsPerSpacing - 1);
                line[MapPixelsPerSpacing * p + c] = SpectrumColourOf(value);
            }
        }
    }
    walk(profiles.back(), b);
    for (int r = 0; r < MapSectionRows; ++r) {
        auto *line = reinterpret_cast<QRgb *>(section.image.scanLine(r));
        line[width - 1] = SpectrumColourOf(b[static_cast<std::size_t>(r)]);
    }
    return section;
}

QImage MapScaleImage(double vMin, double vMax, int rows)
{
    rows = std::max(rows, 1);
    QImage image(1, rows, QImage::Format_ARGB32);
    const bool flat = !(vMax > vMin);
    for (int r = 0; r < rows; ++r) {
        // The middle of the pixel row, counted from the top; the section's own normalisation.
        const double value = flat ? 0.0 : 1.0 - (r + 0.5) / rows;
        image.setPixel(0, r, SpectrumColourOf(value));
    }
    return image;
}

QImage MapScaleStrip(double vMin, double vMax, int width, int height)
{
    // The column turned a quarter clockwise: its top, the greatest velocity, goes right.
    return MapScaleImage(vMin, vMax, width)
        .transformed(QTransform().rotate(90))
        .scaled(
            std::max(width, 1), std::max(height, 1), Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

std::vector<double> MapScaleTicks(double vMin, double vMax)
{
    if (!(vMax > vMin) || !std::isfinite(vMin) || !std::isfinite(vMax))
        return { vMin };
    const double rough = (vMax - vMin) / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10.0 * power;
    for (double factor : { 1.0, 2.0, 5.0 })
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    std::vector<double> ticks;
    for (double v = std::ceil(vMin / step) * step; v <= vMax + 1e-9 * step; v += step)
        ticks.push_back(v);
    // A narrow range between two round values still gets both of its ends.
    if (ticks.size() < 2)
        ticks = { vMin, vMax };
    return ticks;
}

QString CMapSection::CheckSpacing(const QString &text, double &spacing)
{
    if (text.trimmed().isEmpty())
        return tr("Please insert the distance between the traces");
    double value = 0.0;
    if (!ParseNumber(text, value) || value <= 0.0)
        return tr("The distance between the traces should be a positive number");
    spacing = value;
    return QString();
}

bool CMapSection::WriteReport(const QString &path, const MapReport &report)
{
    // The picture goes in through a file, as every picture of the writer does; enlarged
    // without smoothing so that every pixel keeps its colour.
    QTemporaryDir folder;
    if (!folder.isValid() || report.section.image.isNull())
        return false;
    const QString picture = folder.filePath(QStringLiteral("section.bmp"));
    const int scale = std::max(1, 480 / std::max(1, report.section.image.width()));
    const QImage enlarged = report.section.image.scaled(report.section.image.width() * scale,
        MapSectionRows * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!enlarged.convertToFormat(QImage::Format_RGB32).save(picture, "BMP"))
        return false;
    // The colour scale as a strip under the section, least velocity at the left.
    const QString strip = folder.filePath(QStringLiteral("scale.bmp"));
    const QImage scaleStrip =
        MapScaleStrip(report.section.vMin, report.section.vMax, enlarged.width(), 12);
    if (!scaleStrip.convertToFormat(QImage::Format_RGB32).save(strip, "BMP"))
        return false;

    RtfWriter rtf;
    if (rtf.RtfOpen(path, QStringLiteral("Times New Roman;Arial;"),
            QStringLiteral("0;0;0;255;0;0;192;192;192;255;255;255"))
        != RtfOk)
        return false;
    RtfParagraphRecord *format = rtf.RtfParagraphFormat();
    const RtfParagraphRecord plain = *format;
    bool written = true;
    auto paragraph = [&](const QString &text) {
        written = rtf.RtfAddParagraph(text, true) == RtfOk && written;
    };
    if (QFileInfo::exists(report.bannerPath)) {
        format->alignment = 1;
        written =
            rtf.RtfAddPicture(report.bannerPath, PictureScalePercent, PictureScalePercent) == RtfOk
            && written;
        written = rtf.RtfEndParagraph() == RtfOk && written;
    }
    *format = plain;
    format->font = 1;
    format->bold = true;
    format->fontSize = 32;
    format->alignment = 1;
    format->spaceAfter = 240;
    paragraph(tr("Two-dimensional S velocity section"));
    *format = plain;
    format->spaceAfter = 120;
    paragraph(tr("Distance between traces:") + QLatin1Char(' ') + QString::number(report.spacing)
        + QStringLiteral(" m"));
    format->bold = true;
    paragraph(tr("Files:"));
    format->bold = false;
    for (int i = 0; i < report.files.size(); ++i)
        paragraph(QStringLiteral("%1. %2").arg(i + 1).arg(report.files[i]));
    paragraph(tr("Position [m]: 0 to %1; depth [m]: 0 to %2; Vs [m/s]: %3 to %4")
                  .arg(report.section.length)
                  .arg(report.section.depth)
                  .arg(report.section.vMin)
                  .arg(report.section.vMax));
    format->alignment = 1;
    format->spaceBefore = 120;
    written =
        rtf.RtfAddPicture(picture, PictureScalePercent, PictureScalePercent) == RtfOk && written;
    written = rtf.RtfEndParagraph() == RtfOk && written;
    written =
        rtf.RtfAddPicture(strip, PictureScalePercent, PictureScalePercent) == RtfOk && written;
    written = rtf.RtfEndParagraph() == RtfOk && written;
    format->spaceBefore = 0;
    paragraph(tr("Colour scale: %1 m/s (left) to %2 m/s (right)")
                  .arg(report.section.vMin)
                  .arg(report.section.vMax));
    *format = plain;
    if (!written) {
        rtf.RtfAbandon();
        return false;
    }
    return rtf.RtfClose();
}
