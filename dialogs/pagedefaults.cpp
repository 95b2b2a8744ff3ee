#include "dialogs/pagedefaults.h"

#include "env/yini.h"

namespace dialogs {

namespace {

const QString kGroup = QStringLiteral("TX_PAGE");
const QString kWidth = QStringLiteral("WIDTH");
const QString kHeight = QStringLiteral("HEIGHT");
const QString kLeft = QStringLiteral("M_LFT");
const QString kTop = QStringLiteral("M_TOP");
const QString kRight = QStringLiteral("M_RGH");
const QString kBottom = QStringLiteral("M_BTM");

// 1.5 cm and 1 cm at 567 twips a centimetre.
constexpr double kWideMargin = 850.5;
constexpr double kNarrowMargin = 567;

} // namespace

engine::PageSetup readPageDefaults(env::yIni& ini, engine::PageSetup current)
{
    // A text that is no number reads 0; a margin may keep its fraction.
    ini.GetGtx(kGroup);
    current.paperWidth = engine::wholeTwips(ini.vGtVal(kWidth, 12240.0));
    current.paperHeight = engine::wholeTwips(ini.vGtVal(kHeight, 15840.0));
    current.marginLeft = ini.vGtVal(kLeft, kWideMargin);
    current.marginTop = ini.vGtVal(kTop, kWideMargin);
    current.marginRight = ini.vGtVal(kRight, kNarrowMargin);
    current.marginBottom = ini.vGtVal(kBottom, kNarrowMargin);
    return current;
}

void writePageDefaults(env::yIni& ini, const engine::PageSetup& page)
{
    ini.GetGtx(kGroup);
    ini.SetVal(kWidth, page.paperWidth);
    ini.SetVal(kHeight, page.paperHeight);
    ini.SetVal(kLeft, page.marginLeft);
    ini.SetVal(kTop, page.marginTop);
    ini.SetVal(kRight, page.marginRight);
    ini.SetVal(kBottom, page.marginBottom);
    ini.SetGtx();
}

} // namespace dialogs
