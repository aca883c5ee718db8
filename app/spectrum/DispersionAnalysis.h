// The one analysis object of the application: what each page hands on to the next.
#ifndef VELA_APP_SPECTRUM_DISPERSIONANALYSIS_H
#define VELA_APP_SPECTRUM_DISPERSIONANALYSIS_H

#include "matrix/CMatrix.h"

#include <QString>

/// The record of the active acquisition as the experimental-data page hands it over, and the
/// flags later pages and the report read. The spectrum computation builds on these fields.
class DispersionAnalysis
{
public:
    DispersionAnalysis() = default;

    /// Hand-over from the active experimental-data page, in this order: trace file name, time
    /// step [ms], receiver spacing [m], number of traces, first and last receiver (0-based),
    /// window sample count, window start and end [ms], reversed flag, traces (samples x
    /// traces), sample axis (samples x 1), source depth and receivers depth [m]. Replaces the
    /// previous record and sets m_bPrepared.
    void HandOverActiveTraces(const QString &fileName, double timeStep, double receiverSpacing,
        int traceCount, int firstReceiver, int lastReceiver, int windowSampleCount,
        double windowStart, double windowEnd, bool reversed, const CMatrix &traces,
        const CMatrix &sampleAxis, double sourceDepth, double receiversDepth);

    QString m_strFileName;
    double m_dTimeStep = 0.0; ///< [ms]
    double m_dReceiverSpacing = 0.0; ///< [m]
    int m_nTraces = 0;
    int m_nFirstReceiver = 0;
    int m_nLastReceiver = 0;
    int m_nWindowSamples = 0;
    double m_dWindowStart = 0.0; ///< [ms]
    double m_dWindowEnd = 0.0; ///< [ms]
    bool m_bReversed = false;
    CMatrix m_traces { 0, 0 };
    CMatrix m_sampleAxis { 0, 1 };
    double m_dSourceDepth = 0.0; ///< [m]
    double m_dReceiversDepth = 0.0; ///< [m]
    /// Set when the inputs have been handed over.
    bool m_bPrepared = false;
    /// Set when the spectrum has been computed; the report then includes the data chapters.
    bool m_bAnalysed = false;
};

#endif // VELA_APP_SPECTRUM_DISPERSIONANALYSIS_H
