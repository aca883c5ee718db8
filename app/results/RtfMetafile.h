// A Windows metafile of our own making that draws one picture, for pictures in RTF documents.
#ifndef VELA_APP_RESULTS_RTFMETAFILE_H
#define VELA_APP_RESULTS_RTFMETAFILE_H

#include <QByteArray>

class QImage;

/// Builds the bytes of a placeable-free Windows metafile (the form RTF's \wmetafile embeds): the
/// header, the window origin (0, 0) and extent, one META_STRETCHDIB that stretches a 24-bit
/// bottom-up DIB of the picture over (0, 0, widthPx, heightPx), and the end record.
class RtfMetafile
{
public:
    /// Record functions and sizes a reader of the bytes needs.
    static constexpr quint16 SetWindowOrg = 0x020B;
    static constexpr quint16 SetWindowExt = 0x020C;
    static constexpr quint16 StretchDib = 0x0F43;
    static constexpr quint16 EndOfFile = 0x0000;
    static constexpr quint32 SourceCopy = 0x00CC0020;

    /// @param image the picture; transparency is flattened onto white.
    /// @param widthPx, heightPx the drawn size in pixels (both at least 1, at most 32767; the
    ///        picture is stretched to it). A picture wider or taller than 32767 pixels, which
    ///        the metafile's 16-bit fields cannot describe, gives an empty result.
    static QByteArray Draw(const QImage &image, int widthPx, int heightPx);
};

#endif // VELA_APP_RESULTS_RTFMETAFILE_H
