// The one analysis object of the application: what each page hands on to the next.
#ifndef VELA_APP_SPECTRUM_DISPERSIONANALYSIS_H
#define VELA_APP_SPECTRUM_DISPERSIONANALYSIS_H

class DispersionAnalysis
{
public:
    DispersionAnalysis() = default;
};

#endif // VELA_APP_SPECTRUM_DISPERSIONANALYSIS_H
