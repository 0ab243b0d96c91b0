#pragma once

// Picture files written byte by byte from their formats' layouts, for the reader's tests:
// icons with several entries, TIFF files with several pages and a private tag, GIF
// animations with their disposal methods.
#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>

#include <vector>

namespace picture_files {

inline void PutU16(QByteArray& out, int value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

inline void PutU32(QByteArray& out, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline QByteArray Png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

inline QImage Filled(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// An icon file: ICONDIR, one 16-byte entry per picture, the pictures as PNG blobs.
inline QByteArray Icon(const std::vector<QImage>& entries)
{
    QByteArray out;
    PutU16(out, 0);
    PutU16(out, 1); // icon
    PutU16(out, static_cast<int>(entries.size()));
    std::vector<QByteArray> blobs;
    for (const QImage& image : entries)
        blobs.push_back(Png(image));
    quint32 offset = 6 + 16 * static_cast<quint32>(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        out.append(static_cast<char>(entries[i].width() % 256));
        out.append(static_cast<char>(entries[i].height() % 256));
        out.append('\0'); // colours
        out.append('\0'); // reserved
        PutU16(out, 1);   // planes
        PutU16(out, 32);  // bits per pixel
        PutU32(out, static_cast<quint32>(blobs[i].size()));
        PutU32(out, offset);
        offset += static_cast<quint32>(blobs[i].size());
    }
    for (const QByteArray& blob : blobs)
        out.append(blob);
    return out;
}

// A little-endian TIFF with one uncompressed 8-bit RGB page per colour, each page carrying
// the private tag 65000 that libtiff warns about.
inline QByteArray Tiff(int width, int height, const std::vector<QRgb>& pageColours)
{
    QByteArray out("II*\0", 4);
    PutU32(out, 0); // first IFD, patched below
    std::vector<int> nextFields;
    int previousNext = 4;
    for (QRgb colour : pageColours) {
        const int pixels = static_cast<int>(out.size());
        for (int i = 0; i < width * height; ++i) {
            out.append(static_cast<char>(qRed(colour)));
            out.append(static_cast<char>(qGreen(colour)));
            out.append(static_cast<char>(qBlue(colour)));
        }
        if (out.size() % 2)
            out.append('\0');
        const int bits = static_cast<int>(out.size());
        PutU16(out, 8);
        PutU16(out, 8);
        PutU16(out, 8);
        const int ifd = static_cast<int>(out.size());
        const quint32 ifdOffset = static_cast<quint32>(ifd);
        for (int i = 0; i < 4; ++i)
            out[previousNext + i] = static_cast<char>((ifdOffset >> (8 * i)) & 0xFF);
        struct Entry
        {
            int tag, type, count;
            quint32 value;
        };
        const Entry entries[] = {{256, 3, 1, quint32(width)},
                                 {257, 3, 1, quint32(height)},
                                 {258, 3, 3, quint32(bits)},
                                 {259, 3, 1, 1},
                                 {262, 3, 1, 2},
                                 {273, 4, 1, quint32(pixels)},
                                 {277, 3, 1, 3},
                                 {278, 3, 1, quint32(height)},
                                 {279, 4, 1, quint32(width * height * 3)},
                                 {284, 3, 1, 1},
                                 {65000, 4, 1, 7}};
        PutU16(out, static_cast<int>(std::size(entries)));
        for (const Entry& e : entries) {
            PutU16(out, e.tag);
            PutU16(out, e.type);
            PutU32(out, static_cast<quint32>(e.count));
            if (e.type == 3 && e.count == 1) {
                PutU16(out, static_cast<int>(e.value));
                PutU16(out, 0);
            } else {
                PutU32(out, e.value);
            }
        }
        previousNext = static_cast<int>(out.size());
        PutU32(out, 0);
    }
    return out;
}

// One frame of a GIF: a rectangle of palette indexes, its disposal method (1 keep,
// 2 background, 3 previous), its delay in hundredths and an optional transparent index.
struct GifFrame
{
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<int> indexes;
    int disposal = 1;
    int delay = 10;
    int transparent = -1;
};

// A GIF89a with a global table of four colours and the background index; the LZW stream
// clears after every two codes so that every code stays 3 bits wide.
inline QByteArray Gif(int width, int height, const std::vector<QRgb>& palette, int background,
                      const std::vector<GifFrame>& frames)
{
    QByteArray gif("GIF89a");
    PutU16(gif, width);
    PutU16(gif, height);
    gif.append(static_cast<char>(0xF1)); // global table of 4 colours
    gif.append(static_cast<char>(background));
    gif.append('\0');
    for (int i = 0; i < 4; ++i) {
        const QRgb c = i < static_cast<int>(palette.size()) ? palette[size_t(i)] : 0;
        gif.append(static_cast<char>(qRed(c)));
        gif.append(static_cast<char>(qGreen(c)));
        gif.append(static_cast<char>(qBlue(c)));
    }
    gif.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (const GifFrame& frame : frames) {
        gif.append("\x21\xF9\x04", 3);
        gif.append(static_cast<char>((frame.disposal << 2) | (frame.transparent >= 0 ? 1 : 0)));
        PutU16(gif, frame.delay);
        gif.append(static_cast<char>(frame.transparent >= 0 ? frame.transparent : 0));
        gif.append('\0');
        gif.append(',');
        PutU16(gif, frame.left);
        PutU16(gif, frame.top);
        PutU16(gif, frame.width);
        PutU16(gif, frame.height);
        gif.append('\0');
        gif.append('\x02'); // minimum code size
        QByteArray data;
        quint32 bits = 0;
        int count = 0;
        const auto put = [&](int code) {
            bits |= static_cast<quint32>(code) << count;
            count += 3;
            while (count >= 8) {
                data.append(static_cast<char>(bits & 0xFF));
                bits >>= 8;
                count -= 8;
            }
        };
        for (size_t p = 0; p < frame.indexes.size(); ++p) {
            if (p % 2 == 0)
                put(4); // clear
            put(frame.indexes[p]);
        }
        put(5); // end
        if (count > 0)
            data.append(static_cast<char>(bits & 0xFF));
        for (qsizetype at = 0; at < data.size(); at += 255) {
            const QByteArray block = data.mid(at, 255);
            gif.append(static_cast<char>(block.size()));
            gif.append(block);
        }
        gif.append('\0');
    }
    gif.append(';');
    return gif;
}

} // namespace picture_files
