// The user-format page driven through its buttons and lists, with the
// editor's formats and the settings behind it; the heading-size order on its
// own.
#include "dialogs/frmt.h"
#include "dialogs/headingsizes.h"
#include "dialogs/sbtxm.h"
#include "dialogs/tests/buttons.h"
#include "dialogs/userformatpage.h"

#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "env/yini.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;
using dialogs::Frmt;
using dialogs::UserFormat;
using dialogs::UserFormatPage;

const QString kMessage = u"見出しのﾌｫﾝﾄｻｲｽﾞ順に変えます"_s;

Frmt withSizes(std::array<qint16, 5> sizes)
{
    Frmt formats;
    for (int record = 0; record < 5; ++record) {
        UserFormat format = formats.record(record);
        format.size = sizes[size_t(record)];
        formats.setRecord(record, format);
    }
    return formats;
}

std::array<qint16, 5> sizesOf(const Frmt& formats)
{
    std::array<qint16, 5> sizes{};
    for (int record = 0; record < 5; ++record)
        sizes[size_t(record)] = formats.record(record).size;
    return sizes;
}

TEST(HeadingSizes, SoundOrderStaysAndAnyOtherBecomesOneStepApart)
{
    struct Row {
        std::array<qint16, 5> given;    // 見出１–３, 本文, 強調
        std::array<qint16, 5> expected;
        bool changed;
    };
    const Row rows[] = {
        {{16, 14, 12, 10, 10}, {16, 14, 12, 10, 10}, false},
        {{12, 12, 12, 10, 10}, {14, 13, 12, 10, 10}, true},  // 10 + 1 is below 12
        {{16, 14, 12, 14, 16}, {15, 14, 13, 12, 12}, true},  // body and emphasis capped
        {{14, 12, 9, 9, 9}, {14, 13, 12, 9, 9}, true},       // the smallest heading under 10 points
        {{14, 12, 11, 10, 12}, {14, 13, 12, 10, 12}, true},  // emphasis above the third heading
        {{14, 12, 10, 10, 10}, {14, 12, 10, 10, 10}, false}, // equal to the body is enough
    };
    for (const Row& row : rows) {
        Frmt formats = withSizes(row.given);
        EXPECT_EQ(dialogs::orderHeadingSizes(formats), row.changed) << row.given[0] << "/" << row.given[2];
        EXPECT_EQ(sizesOf(formats), row.expected) << row.given[0] << "/" << row.given[2];
    }
}

TEST(HeadingSizes, TheSupplementAlwaysTakesTheBodysFontOnWhite)
{
    for (const auto& sizes : {std::array<qint16, 5>{16, 14, 12, 10, 10}, std::array<qint16, 5>{12, 12, 12, 10, 10}}) {
        Frmt formats = withSizes(sizes);
        UserFormat body = formats.record(3);
        body.fontName = u"Noto Serif CJK JP"_s;
        formats.setRecord(3, body);
        UserFormat supplement = formats.record(5);
        supplement.fontName = u"Other"_s;
        supplement.backgroundColor = 0x00FFFF;
        supplement.size = 8;
        formats.setRecord(5, supplement);

        dialogs::orderHeadingSizes(formats);
        EXPECT_EQ(formats.record(5).fontName, u"Noto Serif CJK JP"_s);
        EXPECT_EQ(formats.record(5).backgroundColor, 0xFFFFFF);
        EXPECT_EQ(formats.record(5).size, 8) << "only its font and background";
    }
}

TEST(UserFormatNames, TheSampleNamesTheSixStylesInRecordOrder)
{
    EXPECT_EQ(UserFormatPage::styleNames(), (QStringList{u"見出１"_s, u"見出２"_s, u"見出３"_s, u"本文"_s, u"強調"_s, u"補足"_s}));
    EXPECT_EQ(UserFormatPage::styleIndex(u"本文"_s), 3);
    EXPECT_EQ(UserFormatPage::styleIndex(u"補足"_s), 5);
    EXPECT_EQ(UserFormatPage::styleIndex(u"見出"_s), -1);
    EXPECT_EQ(UserFormatPage::styleIndex(u"本文 強調"_s), -1);
}

struct UserFormatPageTest : ::testing::Test {
    testsupport::TempFolder dir;
    testsupport::ScriptedDialogs scripted;
    env::yIni ini;
    Frmt formats;
    engine::TextEngine document;
    dialogs::sbTxm dialog;
    UserFormatPage* page = nullptr;
    QString paragraphSelection;
    double paragraphIndent = 0;

    void SetUp() override
    {
        ASSERT_TRUE(ini.GetTxt(dir.path(u"User.xml"_s)));
        // Stands in for the paragraph dialog: notes what it opened on and
        // gives it a new left indent.
        auto owned = std::make_unique<UserFormatPage>(formats, ini, [this](engine::TextEngine& sample) {
            paragraphSelection = sample.selectedText();
            if (paragraphIndent > 0)
                sample.setParagraphValue(engine::ParagraphValue::LeftIndent, paragraphIndent);
        });
        page = owned.get();
        dialog.addPage(u"US"_s, std::move(owned));
        dialog.cOn(&document);
    }

    // Opens the page, lets `whileOpen` work it, then presses OK (or ｷｬﾝｾﾙ).
    dialogs::PageResult open(const std::function<void()>& whileOpen, bool ok = true)
    {
        QTimer::singleShot(0, &dialog, [&] {
            if (whileOpen)
                whileOpen();
            dialogstest::buttonCaptioned(dialog, ok ? u"OK"_s : u"ｷｬﾝｾﾙ"_s)->click();
            if (dialog.isVisible())
                dialog.reject();
        });
        QString code = u"US"_s;
        QString answer;
        return dialog.Act(code, answer);
    }

    // Where the sample shows style `style`, and the look there.
    int positionOf(int style) const
    {
        return int(QString(UserFormatPage::kSampleText).replace(u'.', u'\n').indexOf(UserFormatPage::styleNames()[style]));
    }
    UserFormat shownAt(engine::TextEngine& engine, int position)
    {
        engine.setSelection(position, 1);
        UserFormat look;
        look.fontName = engine.fontName();
        look.size = qint16(engine.fontSize());
        look.textColor = engine.textColor();
        look.backgroundColor = engine.backgroundColor();
        look.bold = engine.bold() ? 1 : 0;
        look.leftIndent = qint16(engine.paragraphValue(engine::ParagraphValue::LeftIndent));
        look.spacing[0] = qint16(engine.paragraphValue(engine::ParagraphValue::SpaceBefore));
        return look;
    }

    void setRecord(int record, const std::function<void(UserFormat&)>& change)
    {
        UserFormat format = formats.record(record);
        change(format);
        formats.setRecord(record, format);
    }
};

TEST_F(UserFormatPageTest, OpeningShowsEachSampleInItsRecordsLook)
{
    for (int record = 0; record < 8; ++record)
        setRecord(record, [record](UserFormat& f) {
            f.fontName = u"Font "_s + QString::number(record);
            f.size = qint16(20 - record);
            f.textColor = 0x010203 * (record + 1);
            f.backgroundColor = 0xF0F0F0 - record;
            f.bold = record % 2;
            f.leftIndent = qint16(100 + 20 * record);
            f.spacing[0] = qint16(40 + record);
        });
    setRecord(6, [](UserFormat& f) { f.attributes[0] = 2; });

    open([&] {
        for (int style = 0; style < 6; ++style) {
            const UserFormat& record = formats.record(style);
            const UserFormat shown = shownAt(page->sample(), positionOf(style));
            EXPECT_EQ(shown.fontName, record.fontName) << style;
            EXPECT_EQ(shown.size, record.size) << style;
            EXPECT_EQ(shown.textColor, record.textColor) << style;
            EXPECT_EQ(shown.backgroundColor, record.backgroundColor) << style;
            EXPECT_EQ(shown.bold, record.bold) << style;
            EXPECT_FALSE(page->sample().underline()) << style;
            // 強調 and 補足 stand on 本文's line, which keeps 本文's paragraph.
            const UserFormat& paragraph = formats.record(std::min(style, 3));
            EXPECT_EQ(shown.leftIndent, paragraph.leftIndent) << style;
            EXPECT_EQ(shown.spacing[0], paragraph.spacing[0]) << style;
        }
        for (auto [engine, record] : {std::pair{&page->headerSample(), 6}, std::pair{&page->footerSample(), 7}}) {
            const UserFormat shown = shownAt(*engine, 0);
            EXPECT_EQ(shown.fontName, formats.record(record).fontName) << record;
            EXPECT_EQ(shown.size, formats.record(record).size) << record;
            EXPECT_EQ(shown.textColor, formats.record(record).textColor) << record;
        }
        EXPECT_EQ(page->headerSample().plainText(), u"Header"_s);
        EXPECT_EQ(page->footerSample().plainText(), u"Footer"_s);
        EXPECT_EQ(page->headerAlignment()->currentText(), u"中央合わせ"_s);
        EXPECT_EQ(page->footerAlignment()->currentIndex(), 2) << "attribute A 1 is the right";
        EXPECT_EQ(page->sample().plainText(), u"見出１\r\n見出２\r\n見出３\r\n本文 強調 補足"_s);
    }, false);
}

TEST_F(UserFormatPageTest, AFontButtonChangesItsOwnRecordOnly)
{
    const Frmt before = formats;
    env::FontRequest chosen;
    chosen.font = QFont(u"Chosen Sans"_s);
    chosen.font.setPointSize(13);
    chosen.font.setBold(false);
    chosen.textColor = QColor(0x12, 0x34, 0x56);
    scripted.answerFont(chosen);

    ASSERT_EQ(open([&] { page->fontButton(1)->click(); }), dialogs::PageResult::Applied);

    ASSERT_EQ(scripted.asked().size(), 1u);
    EXPECT_EQ(scripted.asked()[0].font.font.pointSize(), before.record(1).size) << "opened on 見出２";
    const UserFormat& changed = formats.record(1);
    EXPECT_EQ(changed.fontName, u"Chosen Sans"_s);
    EXPECT_EQ(changed.size, 13);
    EXPECT_EQ(changed.textColor, 0x563412);
    EXPECT_EQ(changed.bold, 0);
    EXPECT_EQ(changed.leftIndent, before.record(1).leftIndent);
    for (int record : {0, 2, 3, 4, 5, 6, 7})
        EXPECT_EQ(formats.record(record), before.record(record)) << record;
    EXPECT_TRUE(scripted.messages().isEmpty()) << "14 over 13 over 11 keeps the order";
}

TEST_F(UserFormatPageTest, TheFontButtonsOfTheBodyLineTakeTheirOwnWords)
{
    env::FontRequest chosen;
    chosen.font = QFont(u"Emphasis Font"_s);
    chosen.font.setPointSize(10);
    chosen.textColor = QColor(0xFF, 0, 0);
    scripted.answerFont(chosen);
    const Frmt before = formats;

    open([&] { page->fontButton(4)->click(); });

    EXPECT_EQ(formats.record(4).fontName, u"Emphasis Font"_s);
    EXPECT_EQ(formats.record(4).textColor, 0x0000FF);
    EXPECT_EQ(formats.record(3), before.record(3));
    EXPECT_EQ(formats.record(5), before.record(5));
}

TEST_F(UserFormatPageTest, AParagraphButtonOpensOnItsLineAndChangesItsRecord)
{
    paragraphIndent = 400;
    const Frmt before = formats;

    open([&] { page->paragraphButton(2)->click(); });

    EXPECT_EQ(paragraphSelection, u"見出３"_s);
    EXPECT_EQ(formats.record(2).leftIndent, 400);
    for (int record : {0, 1, 3, 4, 5})
        EXPECT_EQ(formats.record(record), before.record(record)) << record;
    EXPECT_EQ(page->paragraphButton(4), nullptr) << "強調 has no paragraph of its own";
}

TEST_F(UserFormatPageTest, AlignmentEntriesGiveLeftCentredAndRight)
{
    const int expected[] = {0, 2, 1};
    for (int entry = 0; entry < 3; ++entry) {
        open([&] {
            page->footerAlignment()->setCurrentIndex(entry);
            emit page->footerAlignment()->activated(entry);
            page->footerSample().setSelection(0, 0);
            const engine::ParagraphAlignment shown[] = {engine::ParagraphAlignment::Left,
                                                        engine::ParagraphAlignment::Center,
                                                        engine::ParagraphAlignment::Right};
            EXPECT_EQ(page->footerSample().paragraphAlignment(), shown[entry]) << entry;
        });
        EXPECT_EQ(formats.record(7).attributes[0], expected[entry]) << entry;
        EXPECT_EQ(formats.record(6).attributes[0], 1) << "the header keeps its own";
    }
}

TEST_F(UserFormatPageTest, AnAlignmentTheListDoesNotNameSurvivesUntouched)
{
    setRecord(6, [](UserFormat& f) { f.attributes[0] = 3; });
    open({});
    EXPECT_EQ(formats.record(6).attributes[0], 3);
}

TEST_F(UserFormatPageTest, OkStoresTheFormatsWhereAFreshStoreReadsThemBack)
{
    env::FontRequest chosen;
    chosen.font = QFont(u"Header Font"_s);
    chosen.font.setPointSize(11);
    chosen.font.setBold(true);
    scripted.answerFont(chosen);

    open([&] {
        page->headerFontButton()->click();
        page->enterBox()->setChecked(false);
        page->headingFirstBox()->setChecked(false);
        page->lineSpacingList()->setCurrentIndex(page->lineSpacingList()->findText(u"2.0"_s));
    });

    EXPECT_EQ(formats.record(6).fontName, u"Header Font"_s);
    EXPECT_EQ(formats.record(6).bold, 1);
    EXPECT_FALSE(formats.enterShift());
    EXPECT_FALSE(formats.headingFirst());
    EXPECT_FLOAT_EQ(formats.lineSpacing(), 2.0f);
    Frmt fresh;
    ASSERT_TRUE(fresh.load(ini));
    EXPECT_EQ(fresh, formats);
}

TEST_F(UserFormatPageTest, AStoredLineSpacingBetweenTheEntriesIsKept)
{
    formats.setLineSpacing(1.25);
    open([&] { EXPECT_EQ(page->lineSpacingList()->currentText(), u"1.25"_s); });
    EXPECT_FLOAT_EQ(formats.lineSpacing(), 1.25f);
}

TEST_F(UserFormatPageTest, HeadingsOutOfOrderAreReorderedWithAMessage)
{
    formats = withSizes({12, 12, 12, 10, 10});

    open({});

    EXPECT_EQ(scripted.messages(), QStringList{kMessage});
    EXPECT_EQ(scripted.asked()[0].buttons, env::Buttons::Ok);
    EXPECT_EQ(sizesOf(formats), (std::array<qint16, 5>{14, 13, 12, 10, 10}));
    Frmt fresh;
    fresh.load(ini);
    EXPECT_EQ(sizesOf(fresh), sizesOf(formats)) << "stored as reordered";
}

TEST_F(UserFormatPageTest, CancelStoresNothing)
{
    scripted.answerFont({QFont(u"Unwanted"_s), {}, {}});
    const Frmt before = formats;
    EXPECT_EQ(open([&] { page->fontButton(0)->click(); }, false), dialogs::PageResult::Cancelled);
    EXPECT_EQ(formats, before);
    Frmt fresh;
    EXPECT_FALSE(fresh.load(ini));
}

TEST_F(UserFormatPageTest, EachLinesButtonsStandBesideIt)
{
    open([&] {
        EXPECT_EQ(dialog.focusWidget(), page->fontButton(0));
        const QString text = QString(UserFormatPage::kSampleText).replace(u'.', u'\n');
        for (int style = 0; style < 6; ++style) {
            page->sample().setSelection(positionOf(style), 0);
            const QRect line = page->sampleView()->cursorRect(page->sample().textCursor());
            const QPoint top = page->sampleView()->viewport()->mapTo(&dialog, line.topLeft());
            QPushButton* font = page->fontButton(style);
            const int middle = font->mapTo(&dialog, font->rect().center()).y();
            EXPECT_GE(middle, top.y()) << style;
            EXPECT_LE(middle, top.y() + line.height()) << style;
            EXPECT_TRUE(dialog.rect().contains(font->mapTo(&dialog, font->rect().bottomRight()))) << style;
        }
        page->sample().setSelection(int(text.size()), 0);
        const QRect last = page->sampleView()->cursorRect(page->sample().textCursor());
        EXPECT_LE(last.bottom(), page->sampleView()->viewport()->height()) << "the whole sample is in view";
    }, false);
}

} // namespace
