#include "dialogs/headingsizes.h"

#include "dialogs/frmt.h"

#include <algorithm>

namespace dialogs {

namespace {

constexpr int kEmphasis = 4;
constexpr int kSupplement = 5;
constexpr int kWhite = 0xFFFFFF;
constexpr qint16 kSmallestHeading = 10;
// Body and emphasis above this would push the headings too large.
constexpr qint16 kLargestText = 12;

qint16 sizeOf(const Frmt& formats, int record)
{
    return formats.record(record).size;
}

void setSize(Frmt& formats, int record, int size)
{
    UserFormat format = formats.record(record);
    format.size = qint16(size);
    formats.setRecord(record, format);
}

bool inOrder(const Frmt& formats)
{
    const qint16 h3 = sizeOf(formats, 2);
    return sizeOf(formats, 0) > sizeOf(formats, 1) && sizeOf(formats, 1) > h3 && h3 >= sizeOf(formats, kBodyFormat)
        && h3 >= sizeOf(formats, kEmphasis) && h3 >= kSmallestHeading;
}

void reorder(Frmt& formats)
{
    const int emphasis = std::min(sizeOf(formats, kEmphasis), kLargestText);
    const int body = std::min<int>(std::min(sizeOf(formats, kBodyFormat), kLargestText), emphasis);
    const int h3 = std::max(body + 1, int(kLargestText));
    setSize(formats, kEmphasis, emphasis);
    setSize(formats, kBodyFormat, body);
    setSize(formats, 2, h3);
    setSize(formats, 1, h3 + 1);
    setSize(formats, 0, h3 + 2);
}

} // namespace

bool orderHeadingSizes(Frmt& formats)
{
    const bool sound = inOrder(formats);
    if (!sound)
        reorder(formats);
    UserFormat supplement = formats.record(kSupplement);
    supplement.fontName = formats.record(kBodyFormat).fontName;
    supplement.backgroundColor = kWhite;
    formats.setRecord(kSupplement, supplement);
    return !sound;
}

} // namespace dialogs
