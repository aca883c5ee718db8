#include "app/results/RtfMetafile.h"

#include <QImage>
#include <QtEndian>

namespace {

constexpr int MaxCoordinate = 32767;

void PutU16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void PutU32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

// A record of two 16-bit parameters, as the window origin and extent are (y first, then x).
void PutPointRecord(QByteArray &out, quint16 function, int y, int x)
{
    PutU32(out, 5);
    PutU16(out, function);
    PutU16(out, static_cast<quint16>(y));
    PutU16(out, static_cast<quint16>(x));
}

// BITMAPINFOHEADER and the pixels: 24 bits, rows bottom-up, each padded to four bytes.
QByteArray DeviceIndependentBitmap(const QImage &picture)
{
    const int width = picture.width();
    const int height = picture.height();
    const int stride = (width * 3 + 3) / 4 * 4;
    QByteArray dib;
    dib.reserve(40 + stride * height);
    PutU32(dib, 40);
    PutU32(dib, static_cast<quint32>(width));
    PutU32(dib, static_cast<quint32>(height));
    PutU16(dib, 1);
    PutU16(dib, 24);
    PutU32(dib, 0);
    PutU32(dib, static_cast<quint32>(stride * height));
    const auto resolution = [](int dotsPerMeter) { return dotsPerMeter > 0 ? dotsPerMeter : 3780; };
    PutU32(dib, static_cast<quint32>(resolution(picture.dotsPerMeterX())));
    PutU32(dib, static_cast<quint32>(resolution(picture.dotsPerMeterY())));
    PutU32(dib, 0);
    PutU32(dib, 0);
    QByteArray row(stride, '\0');
    for (int y = height - 1; y >= 0; --y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<char>(qBlue(pixels[x]));
            row[3 * x + 1] = static_cast<char>(qGreen(pixels[x]));
            row[3 * x + 2] = static_cast<char>(qRed(pixels[x]));
        }
        dib += row;
    }
    return dib;
}

} // namespace

QByteArray RtfMetafile::Draw(const QImage &image, int widthPx, int heightPx)
{
    if (image.isNull() || image.width() > MaxCoordinate || image.height() > MaxCoordinate)
        return QByteArray();
    widthPx = qBound(1, widthPx, MaxCoordinate);
    heightPx = qBound(1, heightPx, MaxCoordinate);

    // A DIB has no transparency: what is transparent shows the white of the page.
    QImage picture(image.size(), QImage::Format_RGB32);
    picture.setDotsPerMeterX(image.dotsPerMeterX());
    picture.setDotsPerMeterY(image.dotsPerMeterY());
    if (image.hasAlphaChannel()) {
        picture.fill(Qt::white);
        const QImage source = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < source.height(); ++y) {
            const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
            auto *out = reinterpret_cast<QRgb *>(picture.scanLine(y));
            for (int x = 0; x < source.width(); ++x) {
                const int alpha = qAlpha(in[x]);
                const auto blend = [alpha](int channel) {
                    return (channel * alpha + 255 * (255 - alpha)) / 255;
                };
                out[x] = qRgb(blend(qRed(in[x])), blend(qGreen(in[x])), blend(qBlue(in[x])));
            }
        }
    } else {
        picture = image.convertToFormat(QImage::Format_RGB32);
    }

    const QByteArray dib = DeviceIndependentBitmap(picture);
    // Parameters of META_STRETCHDIB after its size and function: raster operation (2 words),
    // colour usage, source height, width, y, x, destination height, width, y, x (9 words).
    const quint32 stretchWords = 3 + 2 + 9 + static_cast<quint32>(dib.size() / 2);
    constexpr quint32 headerWords = 9;
    constexpr quint32 pointWords = 5;
    constexpr quint32 endWords = 3;
    const quint32 totalWords = headerWords + 2 * pointWords + stretchWords + endWords;

    QByteArray out;
    out.reserve(static_cast<int>(totalWords * 2));
    PutU16(out, 1); // a metafile in memory
    PutU16(out, headerWords);
    PutU16(out, 0x0300);
    PutU32(out, totalWords);
    PutU16(out, 0); // no objects
    PutU32(out, stretchWords);
    PutU16(out, 0);

    PutPointRecord(out, SetWindowOrg, 0, 0);
    PutPointRecord(out, SetWindowExt, heightPx, widthPx);

    PutU32(out, stretchWords);
    PutU16(out, StretchDib);
    PutU32(out, SourceCopy);
    PutU16(out, 0); // colours are RGB values
    PutU16(out, static_cast<quint16>(picture.height()));
    PutU16(out, static_cast<quint16>(picture.width()));
    PutU16(out, 0);
    PutU16(out, 0);
    PutU16(out, static_cast<quint16>(heightPx));
    PutU16(out, static_cast<quint16>(widthPx));
    PutU16(out, 0);
    PutU16(out, 0);
    out += dib;

    PutU32(out, endWords);
    PutU16(out, EndOfFile);
    return out;
}
