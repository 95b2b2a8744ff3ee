// The IME page and the picture-layout page: what they show for the string
// the editor hands in, and what they hand back, driven through their controls.
#include "dialogs/displaypage.h"
#include "dialogs/imepage.h"
#include "dialogs/picturelayoutpage.h"
#include "dialogs/sbtxm.h"

#include "testsupport/modalanswer.h"
#include "testsupport/scripteddialogs.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <vector>

namespace {

using namespace Qt::StringLiterals;

struct OptionPages : ::testing::Test {
    testsupport::ScriptedDialogs dialogs;
    dialogs::sbTxm dialog;
    dialogs::ImePage* ime = nullptr;
    dialogs::PictureLayoutPage* picture = nullptr;

    OptionPages()
    {
        auto imePage = std::make_unique<dialogs::ImePage>();
        ime = imePage.get();
        dialog.addPage(u"IM"_s, std::move(imePage));
        auto picturePage = std::make_unique<dialogs::PictureLayoutPage>();
        picture = picturePage.get();
        dialog.addPage(u"TF"_s, std::move(picturePage));
    }

    // Opens page `code` on `request`, lets `act` work it, presses `button`
    // and hands back the page's answer.
    QString open(const QString& code, const QString& request, const QString& button = u"OK"_s,
                 const std::function<void()>& act = {})
    {
        testsupport::ModalAnswer answer(button, [&](QDialog&) {
            if (act)
                act();
        });
        QString shown = code;
        QString result = request;
        dialog.Act(shown, result);
        return result;
    }
};

TEST_F(OptionPages, TheImePageShowsTheRequestAndHandsItBackAsItWent)
{
    for (const QString& ime : {u"ON"_s, u"OFF"_s})
        for (const QString& rule : {u"確認"_s, u"上書"_s, u"無視"_s}) {
            const QString request = ime + u'\t' + rule;
            EXPECT_EQ(open(u"IM"_s, request), request);
        }
    QWidget* focused = nullptr;
    open(u"IM"_s, u"ON\t上書"_s, u"OK"_s, [&] { focused = dialog.focusWidget(); });
    EXPECT_EQ(focused, ime->imeBox());
    EXPECT_EQ(dialog.windowTitle(), u"IME･更新保存の設定"_s);
}

TEST_F(OptionPages, TheImePagesControlsMakeTheAnswer)
{
    EXPECT_EQ(open(u"IM"_s, u"OFF\t確認"_s, u"OK"_s,
                   [&] {
                       ime->imeBox()->click();
                       ime->ruleOption(2)->click();
                   }),
              u"ON\t無視"_s);
    EXPECT_EQ(open(u"IM"_s, u"ON\t無視"_s, u"OK"_s,
                   [&] {
                       ime->imeBox()->click();
                       ime->ruleOption(1)->click();
                   }),
              u"OFF\t上書"_s);
    EXPECT_EQ(open(u"IM"_s, u"ON\t無視"_s, u"ｷｬﾝｾﾙ"_s, [&] { ime->ruleOption(0)->click(); }), QString())
        << "cancel answers nothing";
}

TEST_F(OptionPages, AnImeRequestThatIsNotTwoValuesShowsOffAndAsk)
{
    for (const QString& request : {u"ON"_s, u"ON\t"_s, u"\t無視"_s, u""_s})
        EXPECT_EQ(open(u"IM"_s, request), u"OFF\t確認"_s) << request.toStdString();
    EXPECT_EQ(open(u"IM"_s, u"ON\t保存"_s), u"ON\t確認"_s) << "an unknown rule asks";
    EXPECT_EQ(open(u"IM"_s, u"on\t上書"_s), u"OFF\t上書"_s) << "only \"ON\" switches it on";
}

TEST_F(OptionPages, ThePictureLayoutPageHandsBackEveryCodePairAsItWent)
{
    for (int layout = 1; layout <= 4; ++layout)
        for (int colour = 0; colour <= 2; ++colour) {
            const QString request = QString::number(layout) + QString::number(colour);
            bool shown = false;
            EXPECT_EQ(open(u"TF"_s, request, u"OK"_s,
                           [&] {
                               shown = picture->layoutOption(layout - 1)->isChecked()
                                       && picture->colourOption(colour)->isChecked();
                           }),
                      request);
            EXPECT_TRUE(shown) << request.toStdString();
        }
    EXPECT_EQ(dialog.windowTitle(), u"画像ﾚｲｱｳﾄの既定値"_s);
}

TEST_F(OptionPages, ThePictureLayoutPagesOptionsMakeTheAnswer)
{
    EXPECT_EQ(open(u"TF"_s, u"10"_s, u"OK"_s,
                   [&] {
                       picture->layoutOption(3)->click();
                       picture->colourOption(2)->click();
                   }),
              u"42"_s);
    EXPECT_EQ(picture->layoutOption(3)->text(), u"ﾌﾛｰﾄ"_s);
    EXPECT_EQ(picture->colourOption(2)->text(), u"8ﾋﾞｯﾄｸﾞﾚｲ"_s);
}

TEST_F(OptionPages, CodesOutOfRangeSelectTheDefaultsForTheDocumentType)
{
    dialog.cTyp(4);
    EXPECT_EQ(open(u"TF"_s, u"71"_s), u"21"_s) << "layout 7 is no layout: left-aligned, as for new pictures";
    EXPECT_EQ(open(u"TF"_s, u"09"_s), u"20"_s);
    EXPECT_EQ(open(u"TF"_s, u"x"_s), u"20"_s);
    EXPECT_EQ(open(u"TF"_s, u"120"_s), u"20"_s) << "three digits are not two codes";
    dialog.cTyp(-2);
    EXPECT_EQ(open(u"TF"_s, u"52"_s), u"12"_s) << "numbered documents place pictures with the text";
}

// Every caption must be readable inside the dialog's fixed frame.
TEST(PageLayout, EveryControlFitsTheDialogUnclipped)
{
    testsupport::ScriptedDialogs scripted;
    dialogs::sbTxm dialog;
    dialog.addPage(u"DP"_s, std::make_unique<dialogs::DisplayPage>(
                                dialogs::DisplayHost{[] { return QSizeF(14400, 10000); }, [](int, int) {}}));
    dialog.addPage(u"IM"_s, std::make_unique<dialogs::ImePage>());
    dialog.addPage(u"TF"_s, std::make_unique<dialogs::PictureLayoutPage>());
    for (const QString& code : {u"DP"_s, u"IM"_s, u"TF"_s}) {
        QSize size;
        std::vector<QString> clipped;
        testsupport::ModalAnswer look(u"ｷｬﾝｾﾙ"_s, [&](QDialog& shown) {
            size = shown.size();
            const QRect inside = shown.rect();
            for (QWidget* control : shown.findChildren<QWidget*>()) {
                if (!control->isVisible() || !(qobject_cast<QAbstractButton*>(control) || qobject_cast<QLabel*>(control)))
                    continue;
                const QRect place(control->mapTo(&shown, QPoint()), control->size());
                const bool wideEnough = control->width() >= control->minimumSizeHint().width();
                if (!inside.contains(place) || !wideEnough || control->height() < control->minimumSizeHint().height())
                    clipped.push_back(control->objectName() + u' ' + control->property("text").toString());
            }
        });
        QString shownCode = code;
        QString answer;
        dialog.Act(shownCode, answer);
        const QRect frame = dialogs::sbTxm::placement({}, dialog.logicalDpiX());
        EXPECT_EQ(size, frame.size()) << code.toStdString() << ": the page must not stretch the dialog";
        EXPECT_TRUE(clipped.empty()) << code.toStdString() << ": " << QStringList(clipped.begin(), clipped.end()).join(u", "_s).toStdString();
    }
}

} // namespace
