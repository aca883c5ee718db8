#include "app/spectrum/DispersionAnalysis.h"

void DispersionAnalysis::HandOverActiveTraces(const QString &fileName, double timeStep,
    double receiverSpacing, int traceCount, int firstReceiver, int lastReceiver,
    int windowSampleCount, double windowStart, double windowEnd, bool reversed,
    const CMatrix &traces, const CMatrix &sampleAxis, double sourceDepth, double receiversDepth)
{
    m_strFileName = fileName;
    m_dTimeStep = timeStep;
    m_dReceiverSpacing = receiverSpacing;
    m_nTraces = traceCount;
    m_nFirstReceiver = firstReceiver;
    m_nLastReceiver = lastReceiver;
    m_nWindowSamples = windowSampleCount;
    m_dWindowStart = windowStart;
    m_dWindowEnd = windowEnd;
    m_bReversed = reversed;
    m_traces = traces;
    m_sampleAxis = sampleAxis;
    m_dSourceDepth = sourceDepth;
    m_dReceiversDepth = receiversDepth;
    m_bPrepared = true;
}
