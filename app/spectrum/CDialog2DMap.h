// The 2D map dialog: the list of saved analyses along a line, the distance between them and the
// Vs section drawn from their final profiles, with its RTF export.
#ifndef VELA_APP_SPECTRUM_CDIALOG2DMAP_H
#define VELA_APP_SPECTRUM_CDIALOG2DMAP_H

#include "app/spectrum/MapSection.h"

#include <QDialog>

#include <vector>

class CChartWidget;
class CVelocityScale;
class QAction;
class QLineEdit;
class QTableWidget;

/// Modal dialog opened from the "2D Map" menu entry. The reading, drawing and report are
/// CMapSection's; the dialog keeps the list in the user's order and forwards the commands.
class CDialog2DMap : public QDialog
{
    Q_OBJECT

public:
    explicit CDialog2DMap(QWidget *parent = nullptr);
    ~CDialog2DMap() override;

    /// Reads the files and inserts their profiles after the selected row (at the end when none
    /// or the last one is selected), in the order given; a file that holds no profile is
    /// reported and left out. Redraws. Returns how many were added.
    int AddFiles(const QStringList &paths);
    /// Exchanges the selected profile with its upper / lower neighbour and redraws; nothing
    /// when that neighbour does not exist.
    void MoveUp();
    void MoveDown();
    /// Draws the section of the listed profiles; false (with the field's message) when the
    /// distance is missing or not positive, or when there is no profile.
    bool Draw();
    /// Writes the section's report to a file; false, with a message, when nothing is drawn
    /// or the file could not be written.
    bool ExportTo(const QString &path);

    /// Selects a listed profile (0 = first), or none with -1.
    void SelectProfile(int index);
    int SelectedProfile() const;
    const std::vector<MapProfile> &Profiles() const { return m_profiles; }
    /// The section last drawn (null image when none).
    const MapSectionImage &Section() const { return m_section; }
    QTableWidget *FileList() const { return m_list; }
    QLineEdit *DistanceField() const { return m_distance; }
    QAction *MoveUpAction() const { return m_upAction; }
    QAction *MoveDownAction() const { return m_downAction; }
    CChartWidget *Chart() const { return m_chart; }
    CVelocityScale *Scale() const { return m_scale; }

private:
    void AskAndAdd();
    void AskAndExport();
    void FillList();
    void UpdateCommands();
    void ShowSection();
    void Exchange(int first, int second);

    std::vector<MapProfile> m_profiles;
    MapSectionImage m_section;
    double m_spacing = 0.0;
    QTableWidget *m_list = nullptr;
    QLineEdit *m_distance = nullptr;
    CChartWidget *m_chart = nullptr;
    CVelocityScale *m_scale = nullptr;
    QAction *m_upAction = nullptr;
    QAction *m_downAction = nullptr;
    QAction *m_exportAction = nullptr;
};

#endif // VELA_APP_SPECTRUM_CDIALOG2DMAP_H
