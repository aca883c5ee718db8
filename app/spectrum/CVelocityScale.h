// The colour scale beside the 2D section: which S velocity each colour of the section stands
// for, from the least (bottom) to the greatest (top) of the profiles drawn.
#ifndef VELA_APP_SPECTRUM_CVELOCITYSCALE_H
#define VELA_APP_SPECTRUM_CVELOCITYSCALE_H

#include <QWidget>

class CVelocityScale : public QWidget
{
    Q_OBJECT

public:
    explicit CVelocityScale(QWidget *parent = nullptr);

    /// The velocities of the bottom and top of the scale [m/s]; nothing is drawn until a
    /// section has set them.
    void SetRange(double vMin, double vMax);
    bool HasRange() const { return m_hasRange; }
    double Least() const { return m_vMin; }
    double Greatest() const { return m_vMax; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_hasRange = false;
    double m_vMin = 0.0;
    double m_vMax = 0.0;
};

#endif // VELA_APP_SPECTRUM_CVELOCITYSCALE_H
