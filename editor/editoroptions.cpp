#include "editor/editoroptions.h"

#include "env/yini.h"

#include <cmath>

namespace editor {

namespace {

const QString kShown = QStringLiteral("表示");
const QString kHidden = QStringLiteral("非表示");
const QString kUserSection = QStringLiteral("TX_USR");
constexpr int kZoomStep = 20;

QString shownText(bool shown)
{
    return shown ? kShown : kHidden;
}

QString displaySection(const QString& group)
{
    return group + QStringLiteral("TX_DISP");
}

QString barSection(const QString& group)
{
    return group + QStringLiteral("TX_BAR");
}

void setView(env::yIni& ini, int mode, int zoom)
{
    ini.SetVal(QStringLiteral("MODE"), mode);
    ini.SetVal(QStringLiteral("ZOOM"), zoom);
}

} // namespace

DisplayValues EditorOptions::load(env::yIni& ini, const QString& group, Level level)
{
    ini.GetGtx(displaySection(group));
    DisplayValues display;
    display.mode = ini.vGtVal(QStringLiteral("MODE"), 0);
    display.zoom = ini.vGtVal(QStringLiteral("ZOOM"), 100);
    display.controlCharacters = ini.vGtVal(QStringLiteral("C_CH"), kShown) == kShown;
    if (level != Level::Everything)
        return display;

    ini.GetGtx(barSection(group));
    rulerShown = ini.vGtVal(QStringLiteral("RULE"), kHidden) == kShown;
    barLayout = ini.vGtVal(QStringLiteral("C_BR"), QString());

    ini.GetGtx(kUserSection);
    ime = ini.vGtVal(QStringLiteral("IME"), QStringLiteral("OFF"));
    updateRule = ini.vGtVal(QStringLiteral("更新確認"), QStringLiteral("確認"));
    pictureFolder = ini.vGtVal(QStringLiteral("WMF_PH"), QString());
    textFlow = ini.vGtVal(QStringLiteral("TX_FLW"), textFlow);
    pictureColour = ini.vGtVal(QStringLiteral("PC_CLR"), 0);
    pasteKind = ini.vGtVal(QStringLiteral("PAST_TX"), QStringLiteral("Rtex"));
    return display;
}

void EditorOptions::store(env::yIni& ini, const QString& group, const DisplayValues& display) const
{
    ini.GetGtx(barSection(group));
    ini.SetVal(QStringLiteral("RULE"), shownText(rulerShown));
    ini.SetVal(QStringLiteral("C_BR"), barLayout);
    ini.SetGtx();

    ini.GetGtx(displaySection(group));
    setView(ini, display.mode, display.zoom);
    ini.SetVal(QStringLiteral("C_CH"), shownText(display.controlCharacters));
    ini.SetGtx();

    ini.GetGtx(kUserSection);
    ini.SetVal(QStringLiteral("IME"), ime);
    ini.SetVal(QStringLiteral("更新確認"), updateRule);
    ini.SetVal(QStringLiteral("WMF_PH"), pictureFolder);
    ini.SetVal(QStringLiteral("TX_FLW"), textFlow);
    ini.SetVal(QStringLiteral("PC_CLR"), pictureColour);
    ini.SetVal(QStringLiteral("PAST_TX"), pasteKind);
    ini.SetGtx();
}

void EditorOptions::storeView(env::yIni& ini, const QString& group, int mode, int zoom)
{
    ini.GetGtx(displaySection(group));
    setView(ini, mode, zoom);
    ini.SetGtx();
}

QString EditorOptions::imeAnswer() const
{
    return ime + u'\t' + updateRule;
}

void EditorOptions::takeImeAnswer(const QString& answer)
{
    const qsizetype tab = answer.indexOf(u'\t');
    if (tab < 0)
        return;
    ime = answer.left(tab);
    updateRule = answer.mid(tab + 1);
}

QString EditorOptions::pictureAnswer() const
{
    return QString::number(textFlow) + QString::number(pictureColour);
}

void EditorOptions::takePictureAnswer(const QString& answer)
{
    if (answer.size() != 2 || !answer[0].isDigit() || !answer[1].isDigit())
        return;
    textFlow = answer[0].digitValue();
    pictureColour = answer[1].digitValue();
}

std::optional<int> EditorOptions::zoomFor(int current, const QVariant& argument)
{
    const QString text = argument.toString().trimmed();
    if (text == u"拡大")
        return current + kZoomStep;
    if (text == u"縮小")
        return current - kZoomStep;
    bool number = false;
    const double value = text.toDouble(&number);
    if (!number || value <= 10 || value >= 1000)
        return std::nullopt;
    return int(std::lround(value));
}

} // namespace editor
