#pragma once
// How much of an untrusted picture is taken in. A picture's bytes are held
// whole, and its pixels are decoded at once, so both are bounded before any
// decoding starts.

#include <QtGlobal>

namespace picture {

// The largest file or clipboard picture read.
constexpr qint64 kMaxPictureBytes = qint64(64) * 1024 * 1024;
// The most pixels decoded into one image: 32 Mi pixels (a 8,192 × 4,096
// picture), 128 MiB at four bytes a pixel. Formats that decode whole (PNG,
// GIF, BMP, TIFF, WebP) are refused past it, and no picture is drawn larger.
constexpr qint64 kMaxDecodedPixels = qint64(1) << 25;
// JPEG shrinks by 1/2, 1/4 or 1/8 while it decodes, so a photo larger than
// kMaxDecodedPixels is still drawn small; its decoder's own buffers grow with
// the full size, which stops at 64 Mi pixels (a 60-megapixel camera's photo).
constexpr qint64 kMaxScaledDecodePixels = qint64(1) << 26;
// The longest side of any picture, also bounding a vector's own size.
constexpr int kMaxSide = 65535;
// QImageReader's allocation limit in MiB: kMaxDecodedPixels at the widest
// pixel Qt decodes into (16 bits for each of four channels).
constexpr int kAllocationLimitMiB = int(kMaxDecodedPixels * 8 / (1024 * 1024));

} // namespace picture
