#include "dialogs/linkpage.h"

#include "env/globals.h"
#include "testsupport/recordingdesktop.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using dialogs::LinkPage;

namespace {

// ---- Shortcut files ---------------------------------------------------------------

struct ShortcutRow {
    const char* contents;
    const char* target;
};

class Shortcut : public ::testing::TestWithParam<ShortcutRow> {};

TEST_P(Shortcut, GivesTheValueOfTheUrlLineOnly)
{
    EXPECT_EQ(dialogs::shortcutTarget(QString::fromUtf8(GetParam().contents)), QString::fromUtf8(GetParam().target));
}

INSTANTIATE_TEST_SUITE_P(
    LinkPage, Shortcut,
    ::testing::Values(ShortcutRow{"[InternetShortcut]\r\nURL=https://a.example/\r\nIconIndex=0\r\n", "https://a.example/"},
                      ShortcutRow{"[Desktop Entry]\nType=Link\nName=A\nURL=https://b.example/x\nIcon=web\n",
                                  "https://b.example/x"},
                      ShortcutRow{"[InternetShortcut]\r\nURL=https://c.example/", "https://c.example/"},
                      ShortcutRow{"[InternetShortcut]\r\nIconIndex=0\r\n", ""}));

// ---- The page ---------------------------------------------------------------------

struct Page : ::testing::Test {
    testsupport::ScriptedDialogs dialogs;
    testsupport::TempFolder folder;
    LinkPage page;
    int confirmations = 0;

    Page() { env::gsUsrPh = folder.path(QString()) + u'/'; }
    ~Page() override { env::gsUsrPh.clear(); }

    void open(const QString& request, bool object = false)
    {
        dialogs::PageContext context;
        context.objectLink = object;
        context.confirm = [this] { ++confirmations; };
        page.fill(context, request);
    }
};

TEST_F(Page, OpeningSplitsCaptionAndTargetAndDropsObjectPlaceholders)
{
    open(QStringLiteral(" cap\x01tion \t https://a.example/ "));
    EXPECT_EQ(page.targetBox()->text(), QStringLiteral("https://a.example/"));
    EXPECT_EQ(page.captionBox()->text(), QStringLiteral("caption"));
    EXPECT_TRUE(page.keepCaptionBox()->isChecked());
    EXPECT_FALSE(page.captionBox()->isEnabled());
    EXPECT_EQ(page.messageLabel()->text(), QStringLiteral("ﾘﾝｸ先を指定して下さい"));
}

TEST_F(Page, WithoutATabEverythingIsTheCaption)
{
    open(QStringLiteral("selected words"));
    EXPECT_EQ(page.captionBox()->text(), QStringLiteral("selected words"));
    EXPECT_TRUE(page.targetBox()->text().isEmpty());
}

TEST_F(Page, NoCaptionLeavesTheKeepBoxUncheckedAndDisabled)
{
    open(QString());
    EXPECT_FALSE(page.keepCaptionBox()->isChecked());
    EXPECT_FALSE(page.keepCaptionBox()->isEnabled());
    EXPECT_TRUE(page.captionBox()->isEnabled());
}

TEST_F(Page, OkRefusesAnEmptyTargetThenAnEmptyCaption)
{
    open(QString());
    QString result;
    EXPECT_FALSE(page.apply(result));
    page.targetBox()->setText(QStringLiteral("https://a.example/"));
    EXPECT_FALSE(page.apply(result));
    EXPECT_EQ(dialogs.messages(), (QStringList{QStringLiteral("ﾘﾝｸ先が指定されていません"),
                                              QStringLiteral("ｷｬﾌﾟｼｮﾝが指定されていません")}));
    page.captionBox()->setText(QStringLiteral(" name "));
    ASSERT_TRUE(page.apply(result));
    EXPECT_EQ(result, QStringLiteral("name\thttps://a.example/"));
}

TEST_F(Page, AnObjectLinkAnswersABlankCaption)
{
    open(QStringLiteral("\x01\thttps://a.example/"), true);
    EXPECT_FALSE(page.captionBox()->isEnabled());
    QString result;
    ASSERT_TRUE(page.apply(result));
    EXPECT_EQ(result, QStringLiteral(" \thttps://a.example/"));
}

TEST_F(Page, ChosenFileGivesPathAndCaptionBeforeTheFirstDot)
{
    open(QString());
    const QString file = folder.path(QStringLiteral("Site/report.2024.htm"));
    dialogs.answerFiles({file});
    page.button(0)->click();
    EXPECT_TRUE(QDir(env::gsUsrPh + QStringLiteral("Site")).exists());
    EXPECT_EQ(dialogs.asked().back().file.folder, env::gsUsrPh + QStringLiteral("Site"));
    EXPECT_EQ(page.targetBox()->text(), QDir::toNativeSeparators(file));
    EXPECT_EQ(page.captionBox()->text(), QStringLiteral("report"));
}

TEST_F(Page, AChoiceWithTheCaptionKeptConfirmsAtOnce)
{
    open(QStringLiteral("cap\thttps://old.example/"));
    const QString file = folder.path(QStringLiteral("Site/new.htm"));
    dialogs.answerFiles({file});
    page.button(0)->click();
    EXPECT_EQ(confirmations, 1);
    EXPECT_EQ(page.captionBox()->text(), QStringLiteral("cap"));
    EXPECT_EQ(page.targetBox()->text(), QDir::toNativeSeparators(file));

    page.keepCaptionBox()->setChecked(false);
    dialogs.answerFiles({file});
    page.button(0)->click();
    EXPECT_EQ(confirmations, 1) << "without the kept caption the user still edits it";
}

TEST_F(Page, CancelledFileDialogLeavesBothBoxes)
{
    open(QStringLiteral("cap\tt"));
    page.keepCaptionBox()->setChecked(false);
    page.captionBox()->setText(QStringLiteral("typed"));
    page.button(0)->click();
    EXPECT_EQ(page.targetBox()->text(), QStringLiteral("t"));
    EXPECT_EQ(page.captionBox()->text(), QStringLiteral("typed"));
}

TEST_F(Page, FavouriteGivesItsAddressAndNameWithoutTheLastExtension)
{
    open(QString());
    const QString file = folder.path(QStringLiteral("my.site.url"));
    QFile shortcut(file);
    ASSERT_TRUE(shortcut.open(QIODevice::WriteOnly));
    shortcut.write("[InternetShortcut]\r\nURL=https://fav.example/\r\nIconIndex=1\r\n");
    shortcut.close();
    dialogs.answerFiles({file});
    page.button(1)->click();
    EXPECT_EQ(page.targetBox()->text(), QStringLiteral("https://fav.example/"));
    EXPECT_EQ(page.captionBox()->text(), QStringLiteral("my.site"));
}

TEST_F(Page, BrowserButtonOpensASearchPage)
{
    testsupport::RecordingDesktop desktop;
    open(QString());
    page.button(2)->click();
    EXPECT_EQ(desktop.opened, QStringList{QString::fromLatin1(LinkPage::kSearchPage)});
}

} // namespace
