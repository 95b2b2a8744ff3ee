#include "engine/snapshotformats.h"

#include "engine/snapshotinput.h"
#include "engine/snapshotoutput.h"

#include <QBrush>
#include <QColor>
#include <QDataStream>
#include <QIODevice>
#include <QPen>
#include <QTextOption>

#include <cmath>

namespace engine::snapshotformats {

namespace {

enum class Tag : quint8 {
    Bool = 1,
    Int,
    LongLong,
    Double,
    String,
    StringList,
    Color,
    Brush,
    Pen,
    Length,
    Tab,
    List,
};

// QDataStream's colour record: colour model, alpha and four 16-bit
// components. It is the only public way to keep a colour exactly in any model.
constexpr qsizetype kColorBytes = 11;
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_0;

bool isStructural(int property)
{
    return property == QTextFormat::ObjectIndex || property == QTextFormat::TableCellRowSpan
        || property == QTextFormat::TableCellColumnSpan;
}

bool isKnownFormatType(int type)
{
    return type == QTextFormat::BlockFormat || type == QTextFormat::CharFormat
        || type == QTextFormat::ListFormat || type == QTextFormat::FrameFormat;
}

// ---- writing ----------------------------------------------------------------

void writeColor(SnapshotOutput& out, QColor color)
{
    // Wide-gamut colours have float components; keep them as 16-bit RGB.
    if (color.spec() == QColor::ExtendedRgb)
        color = color.toRgb();
    QByteArray record;
    QDataStream stream(&record, QIODevice::WriteOnly);
    stream.setVersion(kStreamVersion);
    stream << color;
    out.raw(record);
}

void writeBrush(SnapshotOutput& out, const QBrush& brush)
{
    // Gradients and textures do not occur in documents; they become their colour.
    const bool pattern = brush.style() <= Qt::DiagCrossPattern;
    out.u8(quint8(pattern ? brush.style() : Qt::SolidPattern));
    writeColor(out, brush.color());
}

bool isFinite(double value)
{
    return std::isfinite(value);
}

// Writes `value` with its tag; false (and nothing written) for kinds the
// format does not keep.
bool writeValue(SnapshotOutput& out, const QVariant& value, bool nested = false)
{
    const int type = value.userType();
    if (type == QMetaType::Bool) {
        out.u8(quint8(Tag::Bool));
        out.u8(value.toBool() ? 1 : 0);
    } else if (type == QMetaType::Int) {
        out.u8(quint8(Tag::Int));
        out.i32(value.toInt());
    } else if (type == QMetaType::LongLong) {
        out.u8(quint8(Tag::LongLong));
        out.i64(value.toLongLong());
    } else if (type == QMetaType::Double && isFinite(value.toDouble())) {
        out.u8(quint8(Tag::Double));
        out.f64(value.toDouble());
    } else if (type == QMetaType::QString) {
        out.u8(quint8(Tag::String));
        out.string(value.toString());
    } else if (type == QMetaType::QStringList) {
        const QStringList list = value.toStringList();
        out.u8(quint8(Tag::StringList));
        out.u32(quint32(list.size()));
        for (const QString& s : list)
            out.string(s);
    } else if (type == QMetaType::QColor) {
        out.u8(quint8(Tag::Color));
        writeColor(out, value.value<QColor>());
    } else if (type == QMetaType::QBrush) {
        out.u8(quint8(Tag::Brush));
        writeBrush(out, value.value<QBrush>());
    } else if (type == QMetaType::QPen && isFinite(value.value<QPen>().widthF())) {
        const QPen pen = value.value<QPen>();
        // A custom dash pattern does not occur in documents; it becomes solid.
        const Qt::PenStyle style = pen.style() <= Qt::DashDotDotLine ? pen.style() : Qt::SolidLine;
        out.u8(quint8(Tag::Pen));
        out.u8(quint8(style));
        out.f64(pen.widthF());
        writeBrush(out, pen.brush());
        out.i32(pen.capStyle());
        out.i32(pen.joinStyle());
    } else if (type == qMetaTypeId<QTextLength>() && isFinite(value.value<QTextLength>().rawValue())) {
        const QTextLength length = value.value<QTextLength>();
        out.u8(quint8(Tag::Length));
        out.u8(quint8(length.type()));
        out.f64(length.rawValue());
    } else if (type == qMetaTypeId<QTextOption::Tab>() && isFinite(value.value<QTextOption::Tab>().position)) {
        const QTextOption::Tab tab = value.value<QTextOption::Tab>();
        out.u8(quint8(Tag::Tab));
        out.f64(tab.position);
        out.u8(quint8(tab.type));
        out.u16(tab.delimiter.unicode());
    } else if (type == QMetaType::QVariantList && !nested) {
        SnapshotOutput items;
        quint32 count = 0;
        for (const QVariant& item : value.toList())
            count += writeValue(items, item, true) ? 1 : 0;
        out.u8(quint8(Tag::List));
        out.u32(count);
        out.raw(items.data());
    } else {
        return false;
    }
    return true;
}

// ---- reading ----------------------------------------------------------------

std::optional<QColor> readColor(SnapshotInput& in)
{
    const QByteArrayView record = in.raw(kColorBytes);
    if (!in.ok())
        return std::nullopt;
    const int model = qint8(record.at(0));
    if (model < QColor::Invalid || model > QColor::Hsl) {
        in.fail();
        return std::nullopt;
    }
    QDataStream stream(record.toByteArray());
    stream.setVersion(kStreamVersion);
    QColor color;
    stream >> color;
    return color;
}

std::optional<QBrush> readBrush(SnapshotInput& in)
{
    const quint8 style = in.u8();
    const std::optional<QColor> color = readColor(in);
    if (!color || style > Qt::DiagCrossPattern) {
        in.fail();
        return std::nullopt;
    }
    return QBrush(*color, Qt::BrushStyle(style));
}

std::optional<QPen> readPen(SnapshotInput& in)
{
    const quint8 style = in.u8();
    const double width = in.f64();
    const std::optional<QBrush> brush = readBrush(in);
    const qint32 cap = in.i32();
    const qint32 join = in.i32();
    const bool capKnown = cap == Qt::FlatCap || cap == Qt::SquareCap || cap == Qt::RoundCap;
    const bool joinKnown = join == Qt::MiterJoin || join == Qt::BevelJoin || join == Qt::RoundJoin
        || join == Qt::SvgMiterJoin;
    if (!brush || style > Qt::DashDotDotLine || width < 0 || !capKnown || !joinKnown) {
        in.fail();
        return std::nullopt;
    }
    return QPen(*brush, width, Qt::PenStyle(style), Qt::PenCapStyle(cap), Qt::PenJoinStyle(join));
}

std::optional<QVariant> readValue(SnapshotInput& in, bool nested = false);

std::optional<QVariant> readList(SnapshotInput& in)
{
    QVariantList list;
    const quint32 n = in.count(2);
    for (quint32 i = 0; i < n; ++i) {
        std::optional<QVariant> item = readValue(in, true);
        if (!item)
            return std::nullopt;
        list.append(*item);
    }
    return QVariant(list);
}

std::optional<QVariant> readStringList(SnapshotInput& in)
{
    QStringList list;
    const quint32 n = in.count(4);
    for (quint32 i = 0; i < n; ++i)
        list.append(in.string());
    return QVariant(list);
}

std::optional<QVariant> readLength(SnapshotInput& in)
{
    const quint8 type = in.u8();
    const double value = in.f64();
    if (type > QTextLength::PercentageLength) {
        in.fail();
        return std::nullopt;
    }
    return QVariant::fromValue(QTextLength(QTextLength::Type(type), value));
}

std::optional<QVariant> readTab(SnapshotInput& in)
{
    const double position = in.f64();
    const quint8 type = in.u8();
    const QChar delimiter(in.u16());
    if (type > QTextOption::DelimiterTab) {
        in.fail();
        return std::nullopt;
    }
    return QVariant::fromValue(QTextOption::Tab(position, QTextOption::TabType(type), delimiter));
}

template<typename T>
std::optional<QVariant> wrap(const std::optional<T>& value)
{
    return value ? std::optional<QVariant>(QVariant::fromValue(*value)) : std::nullopt;
}

std::optional<QVariant> readValue(SnapshotInput& in, bool nested)
{
    std::optional<QVariant> value;
    switch (Tag(in.u8())) {
    case Tag::Bool: {
        const quint8 b = in.u8();
        value = b <= 1 ? std::optional<QVariant>(QVariant(b == 1)) : std::nullopt;
        break;
    }
    case Tag::Int: value = QVariant(in.i32()); break;
    case Tag::LongLong: value = QVariant(in.i64()); break;
    case Tag::Double: value = QVariant(in.f64()); break;
    case Tag::String: value = QVariant(in.string()); break;
    case Tag::StringList: value = readStringList(in); break;
    case Tag::Color: value = wrap(readColor(in)); break;
    case Tag::Brush: value = wrap(readBrush(in)); break;
    case Tag::Pen: value = wrap(readPen(in)); break;
    case Tag::Length: value = readLength(in); break;
    case Tag::Tab: value = readTab(in); break;
    case Tag::List:
        if (!nested)
            value = readList(in);
        break;
    }
    if (!value || !in.ok()) {
        in.fail();
        return std::nullopt;
    }
    return value;
}

} // namespace

void write(SnapshotOutput& out, const QTextFormat& format)
{
    SnapshotOutput properties;
    quint32 count = 0;
    const QMap<int, QVariant> all = format.properties();
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        if (isStructural(it.key()))
            continue;
        SnapshotOutput property;
        property.i32(it.key());
        if (writeValue(property, it.value())) {
            properties.raw(property.data());
            ++count;
        }
    }
    out.i32(format.type());
    out.u32(count);
    out.raw(properties.data());
}

std::optional<QTextFormat> read(SnapshotInput& in)
{
    const qint32 type = in.i32();
    if (!isKnownFormatType(type)) {
        in.fail();
        return std::nullopt;
    }
    QTextFormat format(type);
    const quint32 n = in.count(6);
    qint64 previous = std::numeric_limits<qint64>::min();
    for (quint32 i = 0; i < n; ++i) {
        const qint32 property = in.i32();
        // Ascending ids: each property once, in the writer's order.
        if (property <= previous || isStructural(property)) {
            in.fail();
            return std::nullopt;
        }
        previous = property;
        const std::optional<QVariant> value = readValue(in);
        if (!value)
            return std::nullopt;
        format.setProperty(property, *value);
    }
    if (!in.ok())
        return std::nullopt;
    return format;
}

} // namespace engine::snapshotformats
