// Saved analyses for the 2D map tests: documents written frame by frame through the document
// container, with the results page's summary table in the results section.
#ifndef VELA_TESTS_APP_SPECTRUM_MAPDOCUMENTS_H
#define VELA_TESTS_APP_SPECTRUM_MAPDOCUMENTS_H

#include "app/controls/CGridModel.h"
#include "app/shell/CDocumentFile.h"
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

#endif // VELA_TESTS_APP_SPECTRUM_MAPDOCUMENTS_H
