// DRM reader: a text header of "key=value" lines, then 32-bit little-endian integer samples
// from byte 50000, channel after channel, for the enabled channels only.
#include "app/data/ByteFields.h"
#include "app/data/TraceReaders.h"

#include <QCoreApplication>

#include <array>

namespace {

const uint64_t DataStart = 50000;
const int MaxChannels = 512;

struct Channel
{
    bool enabled = true;
    bool inverted = false;
    long long gain = 1;
    long long interval = 1; // kept as the file says; nothing uses it
    long long pick = 1; // kept as the file says; nothing uses it
};

// The decimal digits right after "=": no sign, blank or point. Absent when there are none.
bool ReadDigits(const QByteArray &value, long long &number)
{
    number = 0;
    int digits = 0;
    for (char c : value) {
        if (c < '0' || c > '9')
            break;
        // Saturate instead of overflowing on absurd values; they fail the size checks later.
        if (number < 1000000000000LL)
            number = number * 10 + (c - '0');
        ++digits;
    }
    return digits > 0;
}

TraceReadResult Failed(const QString &detail)
{
    TraceReadResult result;
    result.detail = detail;
    return result;
}

} // namespace

TraceReadResult ReadDrmTraces(const QByteArray &bytes)
{
    long long samples = 0;
    long long channelCount = 0;
    long long samplesPerSecond = 0;
    std::array<Channel, MaxChannels> channels {};
    int selected = 0; // -1: a channel beyond the tables is being described, and is ignored

    // The header ends at the first empty line, at the end of the file, or where the binary
    // part begins.
    const QByteArray header = bytes.left(qsizetype(DataStart));
    qsizetype start = 0;
    int lineNumber = 0;
    while (start < header.size()) {
        qsizetype stop = header.indexOf('\n', start);
        if (stop < 0)
            stop = header.size();
        QByteArray line = header.mid(start, stop - start);
        start = stop + 1;
        ++lineNumber;
        // Text reading ends a line at a NUL byte: padding after the header reads as empty.
        const qsizetype nul = line.indexOf('\0');
        if (nul >= 0)
            line.truncate(nul);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            break;
        line = line.toLower();
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            return Failed(QCoreApplication::translate(
                "TraceReaders", "DRM header line %1 is not of the form key=value")
                              .arg(lineNumber));
        const QByteArray key = line.left(equals);
        const QByteArray value = line.mid(equals + 1);
        long long number = 0;
        const bool present = ReadDigits(value, number);
        Channel *channel =
            selected >= 0 && selected < MaxChannels ? &channels[size_t(selected)] : nullptr;
        if (key == "numero campioni") {
            samples = number;
        } else if (key == "numero canali") {
            channelCount = number;
            channels.fill(Channel {});
        } else if (key == "sps") {
            samplesPerSecond = present ? number : 0;
        } else if (key == "canale") {
            // Channels count from 1; 0 or no value selects the first.
            selected = present && number > 0 ? (number <= MaxChannels ? int(number) - 1 : -1) : 0;
        } else if (channel && key == "guadagno") {
            channel->gain = number;
        } else if (channel && key == "intervallo") {
            channel->interval = number;
        } else if (channel && key == "pick") {
            channel->pick = number;
        } else if (channel && key == "abilitato") {
            channel->enabled = value.startsWith('v');
        } else if (channel && key == "invertito") {
            channel->inverted = value.startsWith('s');
        }
    }

    if (channelCount <= 0)
        return Failed(QCoreApplication::translate(
            "TraceReaders", "The DRM header gives no channels (\"numero canali\")"));
    if (channelCount > MaxChannels)
        return Failed(QCoreApplication::translate(
            "TraceReaders", "The DRM header describes %1 channels; at most %2 are supported")
                          .arg(channelCount)
                          .arg(MaxChannels));
    if (samples <= 0)
        return Failed(QCoreApplication::translate(
            "TraceReaders", "The DRM header gives no samples (\"numero campioni\")"));

    const ByteFields file(bytes);
    int enabled = 0;
    for (int c = 0; c < channelCount; ++c)
        enabled += channels[size_t(c)].enabled ? 1 : 0;
    if (enabled == 0)
        return Failed(QCoreApplication::translate(
            "TraceReaders", "Every channel of the DRM file is disabled"));
    if (!file.Has(DataStart, uint64_t(samples) * 4 * uint64_t(enabled)))
        return Failed(QCoreApplication::translate(
            "TraceReaders", "The DRM file is too short for %1 samples of %2 enabled channels")
                          .arg(samples)
                          .arg(enabled));

    TraceReadResult result;
    result.samples = int(samples);
    result.traces = int(channelCount);
    result.values.assign(size_t(samples) * size_t(channelCount), 0.0);
    uint64_t offset = DataStart;
    for (int c = 0; c < channelCount; ++c) {
        const Channel &channel = channels[size_t(c)];
        if (!channel.enabled)
            continue; // a disabled channel takes no bytes and stays zero
        const double factor = (channel.inverted ? -1.0 : 1.0) * double(channel.gain);
        for (long long s = 0; s < samples; ++s, offset += 4) {
            uint32_t word = 0;
            file.U32(offset, false, word);
            result.values[size_t(s) * size_t(channelCount) + size_t(c)] =
                double(int32_t(word)) * factor;
        }
    }
    result.hasTimeStep = true;
    result.timeStepMs = 1000.0 / double(samplesPerSecond > 0 ? samplesPerSecond : 500);
    result.timeUnit = QCoreApplication::translate("TraceReaders", "samples per second");
    result.ok = true;
    return result;
}
