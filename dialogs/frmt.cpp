#include "dialogs/frmt.h"

#include "env/yini.h"

#include <algorithm>

namespace dialogs {

namespace {

const QString kSection = QStringLiteral("TX_FORMAT");
const QString kLineSpacingKey = QStringLiteral("USR_LSP");
const QString kHeadingFirstKey = QStringLiteral("USR_DTP");
const QString kEnterShiftKey = QStringLiteral("USR_ENT_SHIFT");

QString recordKey(int index)
{
    return QStringLiteral("USR_FORMAT_") + QString::number(index);
}

int clampedIndex(int index)
{
    return std::clamp(index, 0, kUserFormatCount - 1);
}

} // namespace

Frmt::Frmt()
{
    for (int i = 0; i < kUserFormatCount; ++i)
        m_records[i] = UserFormat::defaults(i);
}

bool Frmt::load(env::yIni& ini)
{
    ini.GetGtx(kSection);
    setLineSpacing(ini.vGtVal(kLineSpacingKey, double(kDefaultLineSpacing)));
    for (int i = 0; i < kUserFormatCount; ++i)
        m_records[i] = UserFormat::fromText(ini.vGtVal(recordKey(i), QString()), i);
    m_headingFirst = ini.vGtVal(kHeadingFirstKey, true);
    m_enterShift = ini.vGtVal(kEnterShiftKey, true);
    return !ini.groupText().isEmpty();
}

void Frmt::save(env::yIni& ini) const
{
    ini.GetGtx(kSection);
    ini.SetVal(kLineSpacingKey, QString::number(m_lineSpacing));
    for (int i = 0; i < kUserFormatCount; ++i)
        ini.SetVal(recordKey(i), m_records[i].toText());
    ini.SetVal(kHeadingFirstKey, m_headingFirst);
    ini.SetVal(kEnterShiftKey, m_enterShift);
    ini.SetGtx();
}

const UserFormat& Frmt::record(int index) const
{
    return m_records[clampedIndex(index)];
}

void Frmt::setRecord(int index, const UserFormat& record)
{
    m_records[clampedIndex(index)] = record;
}

void Frmt::setLineSpacing(double factor)
{
    const bool inRange = factor >= 1.0 && factor <= 2.0;
    m_lineSpacing = inRange ? float(factor) : kDefaultLineSpacing;
}

} // namespace dialogs
