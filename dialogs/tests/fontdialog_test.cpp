// The font dialog: its values without widgets (FontForm), and the dialog
// driven through its controls.
#include "dialogs/fontdialog.h"
#include "dialogs/fontform.h"
#include "dialogs/tests/buttons.h"

#include "testsupport/scripteddialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using dialogs::FontDialog;
using dialogs::FontForm;

bool writesJapanese(const QString& family)
{
    return QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese);
}

bool hasBoldFace(const QString& family)
{
    for (const QString& style : QFontDatabase::styles(family))
        if (QFontDatabase::weight(family, style) >= QFont::Bold)
            return true;
    return false;
}

env::FontRequest requestFor(const QString& family, double points, FontForm::Style style = FontForm::Regular)
{
    return {FontForm::fontOf(family, points, style, false, false), {}, {}};
}

struct FontDialogTest : ::testing::Test {
    testsupport::ScriptedDialogs scripted;

    // Presses OK; true when the dialog accepted.
    static bool confirm(FontDialog& dialog)
    {
        dialogstest::buttonCaptioned(dialog, QStringLiteral("OK"))->click();
        return dialog.result() == QDialog::Accepted;
    }
};

TEST(FontFormFamilies, JapaneseFamiliesComeFirstAndEveryFamilyOnce)
{
    const QStringList offered = FontForm::families();
    const QStringList installed = QFontDatabase::families();
    ASSERT_FALSE(offered.isEmpty());
    EXPECT_EQ(offered.size(), QSet<QString>(offered.cbegin(), offered.cend()).size()) << "no family twice";
    for (const QString& family : installed)
        EXPECT_TRUE(offered.contains(family)) << family.toStdString();
    const auto firstOther = std::find_if_not(offered.cbegin(), offered.cend(), writesJapanese);
    if (firstOther == offered.cbegin())
        GTEST_SKIP() << "no font that writes Japanese is installed";
    EXPECT_TRUE(std::none_of(firstOther, offered.cend(), writesJapanese)) << "a Japanese family after the others";
}

TEST(FontFormSizes, TheEnginesRangeIsTakenAndAnythingElseRefused)
{
    EXPECT_EQ(FontForm::sizeOf(QStringLiteral("10.5")), 10.5);
    EXPECT_EQ(FontForm::sizeOf(QStringLiteral(" 1 ")), 1.0);
    EXPECT_EQ(FontForm::sizeOf(QStringLiteral("1638")), 1638.0);
    for (const char* bad : {"0", "0.5", "2000", "1638.5", "-3", "", "abc", "nan", "inf"})
        EXPECT_EQ(FontForm::sizeOf(QString::fromLatin1(bad)), std::nullopt) << bad;
    EXPECT_TRUE(FontForm::usualSizes().contains(8));
    EXPECT_TRUE(FontForm::usualSizes().contains(72));
}

TEST_F(FontDialogTest, OpensOnTheLookGivenAndGivesItBackUnchanged)
{
    env::FontRequest initial{FontForm::fontOf(QStringLiteral("Noto Serif CJK JP"), 14, FontForm::BoldItalic, true,
                                              true),
                             QColor(0x12, 0x34, 0x56), QColor(Qt::yellow)};
    FontDialog dialog(initial);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ﾌｫﾝﾄ"));
    EXPECT_EQ(dialog.familyEdit()->text(), QStringLiteral("Noto Serif CJK JP"));
    EXPECT_EQ(dialog.styleList()->currentItem()->text(), QStringLiteral("太字 斜体"));
    EXPECT_EQ(dialog.sizeBox()->currentText(), QStringLiteral("14"));
    EXPECT_TRUE(dialog.underlineBox()->isChecked());
    EXPECT_TRUE(dialog.strikeOutBox()->isChecked());
    EXPECT_EQ(dialog.textColorButton()->text(), QString()) << "a colour shows as a swatch";
    ASSERT_TRUE(confirm(dialog));
    EXPECT_EQ(dialog.request(), initial);
}

TEST_F(FontDialogTest, BoldIsOfferedForAFamilyWithoutABoldFace)
{
    const QStringList families = FontForm::families();
    const auto plain = std::find_if_not(families.cbegin(), families.cend(), hasBoldFace);
    if (plain == families.cend())
        GTEST_SKIP() << "every installed family has a bold face";
    FontDialog dialog(requestFor(*plain, 12));
    QStringList styles;
    for (int row = 0; row < dialog.styleList()->count(); ++row)
        styles << dialog.styleList()->item(row)->text();
    EXPECT_EQ(styles, (QStringList{QStringLiteral("標準"), QStringLiteral("斜体"), QStringLiteral("太字"),
                                   QStringLiteral("太字 斜体")}));
    dialog.styleList()->setCurrentRow(FontForm::Bold);
    ASSERT_TRUE(confirm(dialog));
    EXPECT_EQ(dialog.request().font.family(), *plain);
    EXPECT_EQ(dialog.request().font.weight(), QFont::Bold);
    EXPECT_FALSE(dialog.request().font.italic());
}

TEST_F(FontDialogTest, ASizeOutsideTheEnginesRangeIsRefusedAndTheDialogStaysOpen)
{
    FontDialog dialog(requestFor(QStringLiteral("Noto Sans CJK JP"), 12));
    for (const QString& bad : {QStringLiteral("0"), QStringLiteral("2000"), QStringLiteral("大")}) {
        dialog.sizeBox()->setEditText(bad);
        EXPECT_FALSE(confirm(dialog)) << bad.toStdString();
    }
    EXPECT_EQ(scripted.messages(), QStringList(3, FontForm::sizeRefusal()));
    EXPECT_TRUE(FontForm::sizeRefusal().contains(QStringLiteral("1638")));
    dialog.sizeBox()->setEditText(QStringLiteral("1638"));
    ASSERT_TRUE(confirm(dialog));
    EXPECT_EQ(dialog.request().font.pointSizeF(), 1638);
}

TEST_F(FontDialogTest, ControlsChangeTheAnswer)
{
    FontDialog dialog(requestFor(QStringLiteral("Noto Sans CJK JP"), 12));
    dialog.familyEdit()->setText(QStringLiteral("ＭＳ 明朝")); // a family from a Windows document is kept
    dialog.styleList()->setCurrentRow(FontForm::Italic);
    dialog.sizeBox()->setCurrentIndex(dialog.sizeBox()->findText(QStringLiteral("10.5")));
    dialog.underlineBox()->setChecked(true);
    scripted.answerColor(QColor(Qt::red));
    dialog.textColorButton()->click();
    scripted.answerColor(QColor(Qt::green));
    dialog.backgroundButton()->click();
    ASSERT_TRUE(confirm(dialog));
    const env::FontRequest chosen = dialog.request();
    EXPECT_EQ(chosen.font.family(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_TRUE(chosen.font.italic());
    EXPECT_EQ(chosen.font.weight(), QFont::Normal);
    EXPECT_EQ(chosen.font.pointSizeF(), 10.5);
    EXPECT_TRUE(chosen.font.underline());
    EXPECT_FALSE(chosen.font.strikeOut());
    EXPECT_EQ(chosen.textColor, QColor(Qt::red));
    EXPECT_EQ(chosen.backgroundColor, QColor(Qt::green));
}

TEST_F(FontDialogTest, TheNoneButtonsTakeTheColoursAwayAndACancelledColourDialogKeepsThem)
{
    FontDialog dialog({FontForm::fontOf(QStringLiteral("Noto Sans CJK JP"), 12, FontForm::Regular, false, false),
                       QColor(Qt::blue), QColor(Qt::yellow)});
    dialog.backgroundButton()->click(); // cancelled: nothing scripted
    ASSERT_EQ(scripted.asked().size(), 1u);
    EXPECT_EQ(scripted.asked()[0].kind, QStringLiteral("color"));
    dialog.textColorNoneButton()->click();
    EXPECT_EQ(dialog.textColorButton()->text(), QStringLiteral("自動"));
    ASSERT_TRUE(confirm(dialog));
    EXPECT_FALSE(dialog.request().textColor.isValid());
    EXPECT_EQ(dialog.request().backgroundColor, QColor(Qt::yellow));

    FontDialog again(dialog.request());
    again.backgroundNoneButton()->click();
    ASSERT_TRUE(confirm(again));
    EXPECT_FALSE(again.request().backgroundColor.isValid());
}

TEST_F(FontDialogTest, TypingAFamilyFiltersTheListAndAnEmptyBoxKeepsTheFamily)
{
    FontDialog dialog(requestFor(QStringLiteral("Noto Sans CJK JP"), 12));
    QListWidget& list = *dialog.familyList();
    ASSERT_GT(list.count(), 0);
    const QString wanted = list.item(list.count() - 1)->text();
    dialog.familyEdit()->clear();
    QTest::keyClicks(dialog.familyEdit(), wanted);
    int shown = 0;
    for (int row = 0; row < list.count(); ++row)
        if (!list.item(row)->isHidden()) {
            ++shown;
            EXPECT_TRUE(list.item(row)->text().contains(wanted, Qt::CaseInsensitive));
        }
    EXPECT_GE(shown, 1);
    EXPECT_TRUE(list.currentItem()->text().startsWith(wanted, Qt::CaseInsensitive));

    dialog.familyEdit()->clear();
    ASSERT_TRUE(confirm(dialog));
    EXPECT_EQ(dialog.request().font.family(), QStringLiteral("Noto Sans CJK JP"));
}

TEST_F(FontDialogTest, ThePreviewShowsTheSampleInTheChosenLook)
{
    FontDialog dialog(requestFor(QStringLiteral("Noto Serif CJK JP"), 12));
    EXPECT_EQ(dialog.preview()->text(), QStringLiteral("あいうえお アイウエオ 亜唖娃 AaBbYyZz"));
    dialog.styleList()->setCurrentRow(FontForm::Bold);
    dialog.strikeOutBox()->setChecked(true);
    dialog.sizeBox()->setEditText(QStringLiteral("20"));
    const QFont shown = dialog.preview()->font();
    EXPECT_EQ(shown.family(), QStringLiteral("Noto Serif CJK JP"));
    EXPECT_EQ(shown.weight(), QFont::Bold);
    EXPECT_TRUE(shown.strikeOut());
    EXPECT_EQ(shown.pointSizeF(), 20);
    scripted.answerColor(QColor(Qt::red));
    dialog.textColorButton()->click();
    EXPECT_TRUE(dialog.preview()->styleSheet().contains(QColor(Qt::red).name()));
}

} // namespace
