#pragma once
// Frmt: the user-format store — the eight user-format records and the three
// settings beside them, loaded from and saved to the "TX_FORMAT" section.

#include "dialogs/userformat.h"

#include <array>

namespace env {
class yIni;
}

namespace dialogs {

class Frmt {
public:
    static constexpr float kDefaultLineSpacing = 1.2f;

    Frmt();

    // Fills the table and the settings from "TX_FORMAT"; missing or malformed
    // values take their defaults. False when the section holds nothing yet.
    bool load(env::yIni& ini);
    // Writes the table and the settings into "TX_FORMAT" and puts the section
    // back into the settings text.
    void save(env::yIni& ini) const;

    // `index` is clamped to 0–7.
    const UserFormat& record(int index) const;
    void setRecord(int index, const UserFormat& record);

    float lineSpacing() const { return m_lineSpacing; }
    // Factors outside 1.0–2.0 become the default 1.2.
    void setLineSpacing(double factor);
    bool headingFirst() const { return m_headingFirst; }
    void setHeadingFirst(bool on) { m_headingFirst = on; }
    bool enterShift() const { return m_enterShift; }
    void setEnterShift(bool on) { m_enterShift = on; }

    bool operator==(const Frmt&) const = default;

private:
    std::array<UserFormat, kUserFormatCount> m_records;
    float m_lineSpacing = kDefaultLineSpacing;
    bool m_headingFirst = true;
    bool m_enterShift = true;
};

} // namespace dialogs
