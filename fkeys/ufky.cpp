#include "fkeys/ufky.h"

#include "fkeys/barlayout.h"
#include "fkeys/functionkeyfilter.h"
#include "fkeys/menuhost.h"
#include "fkeys/menuregistry.h"
#include "fkeys/statuspanel.h"
#include "fkeys/structuretable.h"

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QProgressBar>

namespace fkeys {

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kPanelPadding = 5;

int toTwips(int pixels, int dpi)
{
    return qRound(double(pixels) * kTwipsPerInch / dpi);
}

// "保存(&S)" -> "保存": a menu caption as a tool tip.
QString captionBeforeParenthesis(const QString& caption)
{
    const qsizetype open = caption.indexOf(u'(');
    return open < 0 ? caption : caption.left(open);
}

int iconForOption(int fOpt)
{
    switch (fOpt) {
    case 1: return 3;
    case 2: return 2;
    case 4: return 1;
    default: return 0;
    }
}

} // namespace

uFky::uFky(QWidget* parent) : QWidget(parent)
{
    m_strip = new KeyStrip(this);
    m_panel = new StatusPanel(this);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setTextVisible(false);
    m_progress->hide();
    m_keys = new FunctionKeyFilter(this, [this](const KeyId& key) { return claims(key); });
    connect(m_strip, &KeyStrip::keyPressed, this, &uFky::pressKey);
    connect(m_keys, &FunctionKeyFilter::pressed, this, &uFky::pressKey);
    connect(m_keys, &FunctionKeyFilter::ctrlHeld, this,
            [this](bool held) { m_strip->setGroup(held ? KeyGroup::C : KeyGroup::F); });
}

void uFky::cOn(MenuHost* xFm, bool bFullGrp)
{
    if (bFullGrp)
        m_strip->setLayoutString(kFullGroupLayout);
    m_host = xFm;
    m_bindings.clear();
    m_parents.clear();
    SetDef();
    arrange();
}

void uFky::cOff()
{
    m_bindings.clear();
    m_parents.clear();
    m_host = nullptr;
}

QAction* uFky::menuItem(const MenuCode& code) const
{
    return m_host ? m_host->menuItems().item(code) : nullptr;
}

void uFky::cKey(const QString& sFkY, int iMn, int iNdx, const QString& sCp, const QString& sTP)
{
    const MenuCode code{iMn, iNdx};
    const QAction* item = menuItem(code);
    if (!item)
        return;
    const QString toolTip = sTP.isEmpty() ? captionBeforeParenthesis(item->text()) : sTP;
    m_bindings.bind(sFkY, code);
    const auto key = KeyStrip::keyOf(sFkY);
    if (!key)
        return;
    if (sCp.isEmpty()) {
        m_strip->setCaption(*key, {});
        m_strip->setKeyToolTip(*key, {});
        return;
    }
    m_strip->setCaption(*key, sFkY + u' ' + sCp);
    if (!toolTip.isEmpty())
        m_strip->setKeyToolTip(*key, toolTip);
}

void uFky::cCap(const QString& sFkY, const QString& sCp)
{
    if (const auto key = KeyStrip::keyOf(sFkY))
        m_strip->setCaption(*key, sFkY + u' ' + sCp);
    if (const auto code = m_bindings.codeOf(sFkY))
        if (QAction* item = menuItem(*code))
            item->setText(sCp);
}

void uFky::cKyS()
{
    m_parents.build(m_host ? structureString(m_host->formName()) : QString(), m_bindings);
}

void uFky::SetEnb(int iMnu, const QString& sNdx, bool bCan, bool bVsbl)
{
    QStringList keys;
    for (const QString& text : sNdx.split(u'.', Qt::SkipEmptyParts)) {
        bool ok = false;
        const MenuCode code{iMnu, text.trimmed().toInt(&ok)};
        QAction* item = ok ? menuItem(code) : nullptr;
        if (!item)
            continue;
        if (bVsbl)
            item->setVisible(bCan);
        else if (item->isVisible())
            item->setEnabled(bCan);
        keys << m_bindings.keysBoundTo(code) << m_parents.keysUnder(code);
    }
    for (const QString& name : keys)
        if (const auto key = KeyStrip::keyOf(name))
            m_strip->setKeyEnabled(*key, bCan);
}

void uFky::SetEnbByMenu()
{
    for (const KeyBinding& binding : m_bindings.all()) {
        const auto key = KeyStrip::keyOf(binding.key);
        const QAction* item = menuItem(binding.code);
        if (key && item)
            m_strip->setKeyEnabled(*key, item->isEnabled());
    }
}

void uFky::SetEnbKy(const QString& sFmn, bool bCan)
{
    for (const QString& name : sFmn.toUpper().split(u',', Qt::SkipEmptyParts))
        if (const auto key = KeyStrip::keyOf(name.trimmed()))
            m_strip->setKeyEnabled(*key, bCan);
}

void uFky::SetDef() { m_strip->setGroup(KeyGroup::F); }

void uFky::PanelTx(const QString& sTx, int fOpt)
{
    m_panel->setIcon(iconForOption(fOpt));
    m_panel->setText(sTx + QString(kPanelPadding, u' '));
    runPendingEvents();
}

void uFky::pbMax(int n)
{
    if (n >= 1) {
        m_progress->setRange(0, n);
        m_progress->setValue(0);
        m_panel->hide();
        m_progress->show();
        arrange();
    } else {
        m_progress->hide();
        arrange();
    }
}

void uFky::pbVAL(int value)
{
    m_progress->setValue(qBound(m_progress->minimum(), value, m_progress->maximum()));
    runPendingEvents();
}

void uFky::StSize()
{
    m_progress->hide();
    arrange();
}

void uFky::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    arrange();
}

// Strip, panel and (while it runs) the progress bar in the panel's place.
void uFky::arrange()
{
    const BarLayout layout = layoutBar(toTwips(width(), logicalDpiX()), toTwips(height(), logicalDpiY()),
                                       m_strip->layoutString() == kFullGroupLayout);
    m_strip->setGeometry(toPixels(layout.strip));
    m_panel->setGeometry(toPixels(layout.panel));
    m_progress->setGeometry(toPixels(layout.panel));
    m_panel->setVisible(layout.panelShown && m_progress->isHidden());
}

void uFky::pressKey(const KeyId& key)
{
    const auto code = m_bindings.codeOf(KeyStrip::nameOf(key));
    if (!code || !m_host || !m_strip->isKeyEnabled(key))
        return;
    const QPointer<uFky> alive(this);
    m_host->fnMenu(code->group, code->index);
    if (alive)
        SetDef();
}

bool uFky::claims(const KeyId& key) const
{
    return m_host && m_bindings.codeOf(KeyStrip::nameOf(key)).has_value();
}

// Panel texts and progress must show while the caller keeps working; user
// input waits, so a key cannot start a second command in the middle of one.
void uFky::runPendingEvents()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QRect uFky::toPixels(const QRect& twips) const
{
    const auto px = [](int t, int dpi) { return qRound(double(t) * dpi / kTwipsPerInch); };
    const int dx = logicalDpiX();
    const int dy = logicalDpiY();
    return QRect(px(twips.x(), dx), px(twips.y(), dy), px(twips.width(), dx), px(twips.height(), dy));
}

} // namespace fkeys
