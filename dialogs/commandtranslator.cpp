#include "dialogs/commandtranslator.h"

#include "env/dialogs.h"

#include <QStringList>
#include <vector>

namespace dialogs {

const QString CommandTranslator::kRepeatPrefix = QStringLiteral("繰り返し(&R)　");

namespace {

const QString kRepeat = QStringLiteral("繰り返し");
const QString kUndo = QStringLiteral("元に戻す");
const QString kRedo = QStringLiteral("やり直し");
const QString kReset = QStringLiteral("初期化");
const QString kPicture = QStringLiteral("画像");
constexpr int kNewDocumentJob = 2;

// How a command's argument is found.
enum class ArgumentRule {
    None,     // no argument
    Given,    // the item's own argument
    ByEnding, // 0, 1 for a caption ending in "修正", 2 for one ending in "削除"
    Fixed,    // the row's fixed value
};

struct CaptionRow {
    QStringList captions;
    int job;
    ArgumentRule rule = ArgumentRule::None;
    int fixed = 0;
};

const std::vector<CaptionRow>& captionTable()
{
    using R = ArgumentRule;
    static const std::vector<CaptionRow> table = {
        {{kUndo}, 11},
        {{kRedo}, 12},
        {{QStringLiteral("切り取り")}, 13},
        {{QStringLiteral("ｺﾋﾟｰ")}, 14},
        {{QStringLiteral("貼付"), QStringLiteral("貼り付け")}, 15, R::Given},
        {{kReset}, kNewDocumentJob},
        {{QStringLiteral("ｸﾘｱ")}, 20},
        {{QStringLiteral("全て選択")}, 21},
        {{QStringLiteral("検索")}, 22},
        {{QStringLiteral("置換")}, 23},
        {{QStringLiteral("整形")}, 24},
        {{QStringLiteral("他のﾍﾟｰｼﾞを参照")}, 25},
        {{QStringLiteral("文書を更新")}, 4},
        {{QStringLiteral("ﾂｰﾙﾊﾞｰ"), QStringLiteral("文字色指定"), QStringLiteral("書式指定"),
          QStringLiteral("ｽﾃｰﾀｽﾊﾞｰ"), QStringLiteral("ﾙｰﾗｰ"), QStringLiteral("全て表示"),
          QStringLiteral("全て非表示")},
         27, R::Given},
        {{QStringLiteral("ﾃｷｽﾄ")}, 32},
        {{QStringLiteral("画像 WMF形式")}, 35},
        {{QStringLiteral("ﾃｷｽﾄﾌﾚｰﾑ")}, 40},
        {{QStringLiteral("OLEｵﾌﾞｼﾞｪｸﾄ")}, 41},
        {{QStringLiteral("ｲﾝﾗｲﾝﾌﾚｰﾑ")}, 44},
        {{QStringLiteral("javascript")}, 45},
        {{QStringLiteral("ﾊｲﾊﾟｰﾘﾝｸ"), QStringLiteral("ﾊｲﾊﾟｰﾘﾝｸの修正"), QStringLiteral("ﾊｲﾊﾟｰﾘﾝｸの削除")},
         50, R::ByEnding},
        {{QStringLiteral("ﾀｸﾞ"), QStringLiteral("ﾀｸﾞの修正"), QStringLiteral("ﾀｸﾞの削除")}, 51, R::ByEnding},
        {{QStringLiteral("dxml参照"), QStringLiteral("dxml参照の削除")}, 52, R::ByEnding},
        {{QStringLiteral("ﾂｰﾙﾁｯﾌﾟ"), QStringLiteral("ﾂｰﾙﾁｯﾌﾟの修正"), QStringLiteral("ﾂｰﾙﾁｯﾌﾟの削除")},
         53, R::ByEnding},
        {{QStringLiteral("改頁")}, 54},
        {{QStringLiteral("字下げ")}, 55, R::Fixed, 0},
        {{QStringLiteral("文字数を指定して字下げ")}, 55, R::Fixed, 1},
        {{QStringLiteral("ｽﾀｲﾙ")}, 60, R::Given},
        {{QStringLiteral("ﾌｫﾝﾄ")}, 61},
        {{QStringLiteral("段落")}, 63},
        {{QStringLiteral("ﾘｽﾄ")}, 64},
        {{QStringLiteral("文書ﾍﾟｰｼﾞ")}, 65},
        {{QStringLiteral("ﾍﾟｰｼﾞ表示")}, 26},
        {{QStringLiteral("ﾕｰｻﾞｰｽﾀｲﾙ")}, 66},
        {{QStringLiteral("画像ﾚｲｱｳﾄの既定値")}, 67},
        {{QStringLiteral("IME･更新確認")}, 68},
        {{QStringLiteral("既定のﾌﾞﾘﾝﾀ設定")}, 69},
        {{QStringLiteral("書式のｺﾋﾟｰ")}, 70},
        {{QStringLiteral("書式の貼り付け")}, 71},
        {{QStringLiteral("文書貼付")}, 72, R::Given},
        {{QStringLiteral("表挿入")}, 80, R::Given},
        {{QStringLiteral("表分割")}, 81, R::Given},
        {{QStringLiteral("表削除")}, 82, R::Given},
        {{QStringLiteral("表選択")}, 83, R::Given},
        {{QStringLiteral("ｸﾞﾘｯﾄﾞ")}, 84, R::Given},
        {{QStringLiteral("表属性")}, 85, R::Given},
    };
    return table;
}

QVariant argumentFor(const CaptionRow& row, const QString& caption, const QVariant& given)
{
    switch (row.rule) {
    case ArgumentRule::None: return {};
    case ArgumentRule::Given: return given;
    case ArgumentRule::Fixed: return row.fixed;
    case ArgumentRule::ByEnding:
        if (caption.endsWith(u"修正"))
            return 1;
        return caption.endsWith(u"削除") ? 2 : 0;
    }
    return {};
}

// The command a command caption names, before any question is asked.
MenuCommand commandFor(const QString& caption, const QVariant& given)
{
    if (caption == kPicture)
        return {given.toInt() == 3 ? 33 : 34, {}};
    for (const CaptionRow& row : captionTable()) {
        if (row.captions.contains(caption))
            return {row.job, argumentFor(row, caption, given)};
    }
    return {};
}

// The redo/repeat item's caption once `command` ran.
QString repeatCaptionAfter(const QString& command)
{
    if (command == kUndo)
        return QStringLiteral("やり直し(&R)");
    if (command == kRedo)
        return QStringLiteral("やり直しできません");
    return CommandTranslator::kRepeatPrefix + command;
}

// "検索(&F)" -> "検索".
QString commandCaption(const QString& caption)
{
    const qsizetype bracket = caption.indexOf(u'(');
    return (bracket >= 0 ? caption.left(bracket) : caption).trimmed();
}

bool resetConfirmed()
{
    const env::Answer answer = env::dialogs().ask(QStringLiteral("文書全体を初期化して良いですか"),
                                                  env::Buttons::OkCancel, env::Answer::Ok, env::Icon::None);
    return answer == env::Answer::Ok;
}

} // namespace

MenuCommand CommandTranslator::translate(const QString& caption, const QVariant& argument)
{
    const bool repeat = caption.contains(kRepeat);
    const QString command = repeat ? QString(caption).remove(kRepeatPrefix).trimmed() : commandCaption(caption);

    if (!repeat)
        m_repeatCaption = repeatCaptionAfter(command);

    const MenuCommand result = commandFor(command, argument);
    if (result.job == kNewDocumentJob && !resetConfirmed())
        return {};
    return result;
}

bool CommandTranslator::names(const QString& caption)
{
    return commandFor(commandCaption(caption), {}).job != 0;
}

bool CommandTranslator::repeatEnabled() const
{
    return !m_repeatCaption.contains(u"できません");
}

} // namespace dialogs
