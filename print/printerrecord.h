#pragma once
// The printer settings kept between runs in "Page.prndt": one 146-byte
// printer device-mode record (little-endian, packed), byte for byte as it
// was written. Only the fields the program maps onto a printer are read and
// written by name; every other byte is kept as it came and handed back.

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace print {

class PrinterRecord {
public:
    static constexpr int kSize = 146;
    static constexpr int kDeviceNameBytes = 32;

    // Which fields hold a value (the record's field flags).
    enum Field : std::uint32_t {
        Orientation = 0x1,
        PaperSize = 0x2,
        PaperLength = 0x4,
        PaperWidth = 0x8,
        Scale = 0x10,
        DefaultSource = 0x200,
        PrintQuality = 0x400,
        Colour = 0x800,
        Duplex = 0x1000,
    };

    // Byte offsets of the 16-bit fields.
    enum Offset : int {
        SpecVersionAt = 32,
        DriverVersionAt = 34,
        SizeAt = 36,
        DriverExtraAt = 38,
        FieldsAt = 40,
        OrientationAt = 44,
        PaperSizeAt = 46,
        PaperLengthAt = 48,
        PaperWidthAt = 50,
        ScaleAt = 52,
        CopiesAt = 54,
        DefaultSourceAt = 56,
        PrintQualityAt = 58,
        ColourAt = 60,
        DuplexAt = 62,
    };

    // All bytes zero.
    PrinterRecord();
    // A record as a printer yields it before anything is read: `deviceName`,
    // versions 0, size 146, no fields.
    static PrinterRecord forDevice(const QString& deviceName);
    // The record `bytes` begin with; a shorter input fills the record's start
    // and leaves the rest zero, a longer one gives its first 146 bytes.
    static PrinterRecord fromBytes(const QByteArray& bytes);
    QByteArray bytes() const;

    // The device name in the system code page, padded with spaces, cut at
    // 32 bytes without splitting a character; read back trimmed.
    QString deviceName() const;
    void setDeviceName(const QString& name);

    std::uint32_t fields() const;
    void setFields(std::uint32_t fields);
    bool has(Field field) const { return fields() & field; }
    // Stores a field's value and marks it valid.
    void set(Field field, Offset at, std::int16_t value);
    void clear(Field field) { setFields(fields() & ~std::uint32_t(field)); }

    std::int16_t value(Offset at) const;
    void setValue(Offset at, std::int16_t value);

    bool operator==(const PrinterRecord&) const = default;

private:
    std::array<unsigned char, kSize> m_bytes{};
};

// The record stored in `path`, all zero when the file cannot be opened
// (`read` then says false).
PrinterRecord readRecordFile(const QString& path, bool* read = nullptr);
// Writes the record over the start of `path` (the rest of a longer file is
// kept), atomically; false when it cannot be written.
bool writeRecordFile(const QString& path, const PrinterRecord& record);

} // namespace print
