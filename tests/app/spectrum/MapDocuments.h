// Saved analyses for the 2D map tests: documents written frame by frame through the document
// container, the results section written by the results page's own section writer (or, for
// damaged tables, a summary table of cell texts laid out the same way).
#ifndef VELA_TESTS_APP_SPECTRUM_MAPDOCUMENTS_H
#define VELA_TESTS_APP_SPECTRUM_MAPDOCUMENTS_H

#include "app/controls/CGridModel.h"
#include "app/results/CSoilClassification.h"
#include "app/results/ResultsForm.h"
#include "app/shell/CDocumentFile.h"
#include "app/spectrum/DispersionAnalysis.h"
#include "matrix/CMatrixArchive.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

struct MapLayerText
{
    QString thickness;
    QString velocity;
};

// The results page's summary table: a header row and one row per layer, eleven columns with
// the thickness in column 2 and the S velocity in column 7.
inline void StoreSummaryTable(CMatrixArchive &ar, const std::vector<MapLayerText> &layers)
{
    CGridModel table;
    table.SetColumnCount(11);
    table.SetRowCount(static_cast<int>(layers.size()) + 1);
    table.SetFixedRowCount(1);
    const QStringList header = { "Geotechnical unit", "Description", "h [m]", "z [m]",
        "Density [kg/m^3]", "Water table", "Poisson", "Vs [m/s]", "Vs fixed", "Vp [m/s]",
        "Alluvional" };
    for (int c = 0; c < header.size(); ++c)
        table.SetItemText(0, c, header[c]);
    for (int r = 0; r < static_cast<int>(layers.size()); ++r) {
        table.SetItemText(r + 1, 0, QString::number(r + 1));
        table.SetItemText(r + 1, 1, QStringLiteral("Layer ") + QString::number(r + 1));
        table.SetItemText(r + 1, 2, layers[static_cast<std::size_t>(r)].thickness);
        table.SetItemText(r + 1, 4, QStringLiteral("1800"));
        table.SetItemText(r + 1, 6, QStringLiteral("0.33"));
        table.SetItemText(r + 1, 7, layers[static_cast<std::size_t>(r)].velocity);
        table.SetCellKind(r + 1, 5, GridCellKind::List, { "Yes", "No" });
        table.SetItemText(r + 1, 5, QStringLiteral("No"));
    }
    table.Store(ar);
}

// A whole document: an earlier page with a text section, a profile page section that carries
// a misleading "RIS" tag inside one of its texts, then (optionally) the results section.
class MapDocumentSlots : public CDocumentSlots
{
public:
    std::vector<MapLayerText> layers;
    bool withResults = true;
    /// When set, the results section is the results page's own, for these layers.
    std::vector<LayerRecord> records;

    int DisplayedSlot() const override { return 7; }
    bool HasPage(int slot) const override
    {
        return slot == 2 || slot == 6 || (slot == 7 && withResults);
    }
    void SaveSlot(int slot, CMatrixArchive &ar, int) override
    {
        ar.WriteLine(std::string(28, '='));
        if (slot == 2) {
            ar.WriteLine("10 RSP1");
            ar.WriteFloat32(1.0f);
            ar.WriteLine("C:/survey/shot1.dat");
        } else if (slot == 6) {
            ar.WriteLine("PPT");
            ar.WriteFloat32(1.0f);
            // A text that happens to read like the results section's head, followed by bytes
            // that are no table.
            ar.WriteLine("note");
            ar.WriteText(std::string(28, '=') + "\r\nRIS\r\n");
            ar.WriteInt32(12345);
        } else if (!records.empty()) {
            std::vector<SoilLayer> soil;
            for (const LayerRecord &record : records)
                soil.push_back({ record.thickness, record.finalVs, false });
            CSoilClassification classification;
            classification.SetProfile(soil);
            classification.Init();
            ResultsForm::WriteSection(ar, records, classification, QStringLiteral("0"), false);
        } else {
            ar.WriteLine("RIS");
            ar.WriteFloat32(1.0f);
            StoreSummaryTable(ar, layers);
            for (int i = 0; i < 5; ++i)
                ar.WriteInt32(1);
            ar.WriteLine("312");
            ar.WriteLine("Soil type C");
            ar.WriteLine("C");
        }
    }
    void RestoreAbsent(int) override { }
    void RestorePresent(int, CMatrixArchive &, int, bool) override { }
};

inline QByteArray MapDocument(const std::vector<MapLayerText> &layers, bool withResults = true)
{
    MapDocumentSlots pages;
    pages.layers = layers;
    pages.withResults = withResults;
    CMatrixArchive ar;
    CDocumentFile::Write(ar, pages);
    const auto &bytes = ar.GetBuffer();
    return QByteArray(
        reinterpret_cast<const char *>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

/// A saved analysis whose results page shows these layers (thickness [m], final Vs [m/s]; the
/// half-space last, its thickness not used).
inline QByteArray MapAnalysis(const std::vector<std::pair<double, double>> &layers)
{
    MapDocumentSlots pages;
    for (std::size_t k = 0; k < layers.size(); ++k) {
        LayerRecord record;
        record.number = QString::number(k + 1);
        record.thickness = k + 1 < layers.size() ? layers[k].first : 0.0;
        record.thicknessText = QString::number(record.thickness);
        record.density = 1800.0;
        record.poisson = 0.33;
        record.vs = layers[k].second;
        record.finalVs = layers[k].second;
        record.finalVsText = QString::number(layers[k].second);
        pages.records.push_back(record);
    }
    CMatrixArchive ar;
    CDocumentFile::Write(ar, pages);
    const auto &bytes = ar.GetBuffer();
    return QByteArray(
        reinterpret_cast<const char *>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

#endif // VELA_TESTS_APP_SPECTRUM_MAPDOCUMENTS_H
