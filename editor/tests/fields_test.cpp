#include "editor/fieldcommands.h"
#include "editor/utxm.h"
#include "editortestsupport.h"
#include "engine/fields.h"
#include "engine/textengine.h"

#include "dialogs/popupmenus.h"

#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QMenu>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

using editor::uTxm;

namespace {

// ---- Splitting data strings ------------------------------------------------

struct SplitRow {
    const char* data;
    const char* kind;
    const char* name;
    const char* shown;
};

class Split : public ::testing::TestWithParam<SplitRow> {};

TEST_P(Split, GivesKindNameAndShownName)
{
    const SplitRow row = GetParam();
    const editor::FieldName field = editor::splitFieldData(QString::fromUtf8(row.data));
    EXPECT_EQ(field.kind, QString::fromUtf8(row.kind));
    EXPECT_EQ(field.name, QString::fromUtf8(row.name));
    EXPECT_EQ(editor::shownFieldName(field), QString::fromUtf8(row.shown));
}

INSTANTIATE_TEST_SUITE_P(Fields, Split,
                         ::testing::Values(SplitRow{"tg_12", "TG", "12", "12"},
                                           SplitRow{"https://example.org/a_b", "LK", "https://example.org/a_b",
                                                    "https://example.org/a_b"},
                                           SplitRow{"TG_5_abc", "TG", "5_abc", "abc"},
                                           SplitRow{"Tp_a tip", "TP", "a tip", "a tip"},
                                           SplitRow{"DX_ref_1", "DX", "ref_1", "ref_1"},
                                           SplitRow{"TG", "LK", "TG", "TG"}));

// ---- The editor's field jobs ---------------------------------------------------

struct Fields : ::testing::Test {
    editortest::Environment environment;
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    void start(int type = 4) { editor.cOn(1, qint16(type)); }

    // Answers the link page, once it is shown, with `target` and `caption`.
    void answerLinkPage(const QString& target, const QString& caption)
    {
        QTimer::singleShot(0, &editor, [this, target, caption] {
            auto* targetBox = editor.settingsDialog().findChild<QLineEdit*>(QStringLiteral("txLnk0"));
            auto* captionBox = editor.settingsDialog().findChild<QLineEdit*>(QStringLiteral("txLnk1"));
            auto* keep = editor.settingsDialog().findChild<QCheckBox*>(QStringLiteral("chLnkHg"));
            ASSERT_TRUE(targetBox && captionBox && keep);
            keep->setChecked(false);
            targetBox->setText(target);
            captionBox->setText(caption);
            for (QPushButton* button : editor.settingsDialog().findChildren<QPushButton*>())
                if (button->text() == QStringLiteral("OK"))
                    button->click();
        });
    }

    // Inserts a field the way the jobs do, at the caret.
    int field(const QString& text, const QString& data, int style = editor::FieldCommands::kLinkStyle)
    {
        editor::FieldCommands commands(engine, editor.formats(), {});
        return commands.insertField(style, text, data);
    }

    QString dataOf(int id)
    {
        engine.setCurrentField(id);
        return engine.fieldData();
    }
};

TEST_F(Fields, NewLinkFromTheLinkPageIsAProgramFieldAndUndoTakesItBack)
{
    start();
    engine.setPlainText(QStringLiteral("see here"));
    engine.setSelection(4, 4);
    answerLinkPage(QStringLiteral("https://example.org/"), QStringLiteral("there"));
    editor.rtAct(50, 0);

    ASSERT_EQ(engine.fieldIds().size(), 1);
    engine.setCurrentField(engine.fieldIds().first());
    EXPECT_EQ(engine.fieldText(), QStringLiteral("there"));
    EXPECT_EQ(engine.fieldData(), QStringLiteral("https://example.org/"));
    EXPECT_EQ(engine.fieldKind(), 1);
    EXPECT_EQ(engine.fieldAttribute(), editor::FieldCommands::kProgramAttribute);
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_EQ(engine.plainText(), QStringLiteral("see there"));

    editor.rtAct(11);
    EXPECT_TRUE(engine.fieldIds().isEmpty());
    EXPECT_EQ(engine.plainText(), QStringLiteral("see here"));
}

TEST_F(Fields, LinkPageAnswerWithoutTargetCancelsWithMinusOne)
{
    start();
    engine.setPlainText(QStringLiteral("text"));
    engine.setSelection(0, 4);
    editor.setDcEdt(false);
    answerLinkPage(QString(), QStringLiteral("caption"));
    environment.dialogs.answer(env::Answer::Ok); // the page's refusal of an empty target
    QTimer::singleShot(50, &editor, [this] { editor.settingsDialog().reject(); });
    QVariant argument = 0;
    editor.rtAct(50, argument);
    EXPECT_EQ(argument.toInt(), -1);
    EXPECT_TRUE(engine.fieldIds().isEmpty());
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_EQ(environment.dialogs.messages(), QStringList{QStringLiteral("ﾘﾝｸ先が指定されていません")});
}

TEST_F(Fields, EditingALinkReplacesCaptionAndTarget)
{
    start();
    engine.setPlainText(QStringLiteral("ab "));
    engine.setSelection(3, 0);
    const int id = field(QStringLiteral("old"), QStringLiteral("https://old.example/"));
    engine.setSelection(4, 0);
    answerLinkPage(QStringLiteral("https://new.example/"), QStringLiteral("new"));
    editor.rtAct(50, 1);
    EXPECT_EQ(dataOf(id), QStringLiteral("https://new.example/"));
    EXPECT_EQ(engine.fieldText(), QStringLiteral("new"));
}

TEST_F(Fields, DeletingALinkKeepsItsText)
{
    start();
    const int id = field(QStringLiteral("word"), QStringLiteral("https://example.org/"));
    ASSERT_GT(id, 0);
    engine.setSelection(2, 0);
    editor.rtAct(50, 2);
    EXPECT_TRUE(engine.fieldIds().isEmpty());
    EXPECT_EQ(engine.plainText(), QStringLiteral("word"));
}

TEST_F(Fields, TagCommandInADocumentOfType0ChangesNothing)
{
    start(0);
    engine.setPlainText(QStringLiteral("doc"));
    engine.setSelection(0, 3);
    editor.setDcEdt(false);
    QSignalSpy asked(&editor, &uTxm::eAskTag);
    editor.rtAct(51, 0);
    EXPECT_EQ(asked.count(), 0);
    EXPECT_TRUE(engine.fieldIds().isEmpty());
    EXPECT_FALSE(editor.bDcEdt());
}

struct TagRow {
    const char* text;
    const char* number;
    bool inserted;
};

class TagAnswers : public Fields, public ::testing::WithParamInterface<TagRow> {};

TEST_P(TagAnswers, InsertOnlyWithTextAndANonZeroNumber)
{
    start(-2);
    const TagRow row = GetParam();
    QObject::connect(&editor, &uTxm::eAskTag, &editor, [row](QString* text, QString* number) {
        *text = QString::fromUtf8(row.text);
        *number = QString::fromUtf8(row.number);
    });
    QVariant argument = 0;
    editor.rtAct(51, argument);
    ASSERT_EQ(engine.fieldIds().size(), row.inserted ? 1 : 0);
    EXPECT_EQ(editor.bDcEdt(), row.inserted);
    if (row.inserted)
        EXPECT_EQ(dataOf(engine.fieldIds().first()), QStringLiteral("TG_") + QString::fromUtf8(row.number));
    else
        EXPECT_EQ(argument.toInt(), -1);
}

INSTANTIATE_TEST_SUITE_P(Fields, TagAnswers,
                         ::testing::Values(TagRow{"文書5", "5", true}, TagRow{"  ", "5", false},
                                           TagRow{"文書", "0", false}, TagRow{"文書", "abc", false}));

TEST_F(Fields, ClicksReportLinksAndTagsButNotToolTips)
{
    start();
    QSignalSpy clicks(&editor, &uTxm::eClckLink);
    const int tip = field(QStringLiteral("tip"), QStringLiteral("TP_a tip"), editor::FieldCommands::kToolTipStyle);
    const int tag = field(QStringLiteral(" doc\x01 "), QStringLiteral("TG_5_abc"), editor::FieldCommands::kTagStyle);
    const int link = field(QStringLiteral("web"), QStringLiteral("https://example.org/"));

    engine.handleClick(engine::Fields(*engine.activeDocument()).find(tip)->start + 1);
    EXPECT_EQ(clicks.count(), 0);
    engine.handleClick(engine::Fields(*engine.activeDocument()).find(tag)->start + 1);
    engine.handleClick(engine::Fields(*engine.activeDocument()).find(link)->start + 1);
    ASSERT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks.at(0), (QVariantList{QStringLiteral("TG"), QStringLiteral("doc"), QStringLiteral("abc")}));
    EXPECT_EQ(clicks.at(1), (QVariantList{QStringLiteral("LK"), QStringLiteral("web"),
                                          QStringLiteral("https://example.org/")}));
}

TEST_F(Fields, NeighboursAreFoundOneToThreeCharactersAway)
{
    start();
    engine.setPlainText(QStringLiteral("x"));
    engine.setSelection(1, 0);
    field(QStringLiteral("link"), QStringLiteral("https://example.org/")); // ends at 5
    engine.setSelection(5, 0);
    engine.setSelectedText(QStringLiteral("abcdef"));
    editor::FieldCommands commands(engine, editor.formats(), {});
    for (int caret = 5; caret <= 11; ++caret) {
        engine.setSelection(caret, 0);
        const bool near = caret - 5 >= 1 && caret - 5 <= 3;
        EXPECT_EQ(commands.preceding().has_value(), near) << caret;
    }
    engine.setSelection(0, 0);
    EXPECT_TRUE(commands.following().has_value());
}

TEST_F(Fields, ALinkNamedByItsIdIsCopiedOverTheSelectedText)
{
    start();
    const int link = field(QStringLiteral("link"), QStringLiteral("https://example.org/"));
    engine.setSelectedText(QStringLiteral(" more"));
    engine.setSelection(6, 3);
    editor.rtAct(50, QVariantList{0, false, link});
    ASSERT_EQ(engine.fieldIds().size(), 2);
    EXPECT_EQ(dataOf(engine.fieldIds().last()), QStringLiteral("https://example.org/"));
    EXPECT_EQ(engine.fieldText(), QStringLiteral("ore"));
    EXPECT_EQ(engine.plainText(), QStringLiteral("link more"));
}

// ---- The pop-up menu of the text ----------------------------------------------------

struct ObjectMenu : Fields {
    // Puts a picture at `position` and selects it.
    void pictureAt(int position)
    {
        engine.setSelection(position, 0);
        ASSERT_GT(engine.insertPicture(QImage(4, 4, QImage::Format_RGB32), engine::PictureInline), 0);
        engine.setSelection(position, 1);
        ASSERT_GE(engine.currentObject(), 1);
    }
    QAction* item(int index) { return editor.contextMenu()->actions().at(index); }
};

TEST_F(ObjectMenu, IsShownForAPictureAndCopiesTheLinkBeforeItBesideThePicture)
{
    start();
    field(QStringLiteral("link"), QStringLiteral("https://example.org/"));
    engine.setSelectedText(QStringLiteral(" "));
    EXPECT_EQ(editor.contextMenu(), editor.settingsDialog().menus().menu(dialogs::PopupMenu::Edit));

    pictureAt(5);
    EXPECT_EQ(editor.contextMenu(), editor.settingsDialog().menus().menu(dialogs::PopupMenu::Object));
    QAction* copy = item(dialogs::kObjectCopyBeforeItem);
    EXPECT_TRUE(copy->isVisible());
    EXPECT_EQ(copy->text(), QStringLiteral("直前のﾘﾝｸを複写"));
    EXPECT_FALSE(item(dialogs::kObjectCopyAfterItem)->isVisible());
    copy->trigger();
    ASSERT_EQ(engine.fieldIds().size(), 2);
    EXPECT_EQ(dataOf(engine.fieldIds().last()), QStringLiteral("https://example.org/"));
    EXPECT_EQ(engine.plainText(), QStringLiteral("link \uFFFC  "));
    EXPECT_TRUE(editor.bDcEdt());
}

TEST_F(ObjectMenu, ANewLinkOnAPictureIsAnObjectLinkThatKeepsThePicture)
{
    start();
    engine.setPlainText(QStringLiteral("ab"));
    pictureAt(1);
    answerLinkPage(QStringLiteral("https://example.org/big.png"), QStringLiteral("ignored"));
    item(7)->trigger();
    ASSERT_EQ(engine.fieldIds().size(), 1);
    EXPECT_EQ(dataOf(engine.fieldIds().first()), QStringLiteral("https://example.org/big.png"));
    EXPECT_EQ(engine.plainText(), QStringLiteral("a\uFFFC  b"));
    EXPECT_EQ(editor.settingsDialog().windowTitle(), QStringLiteral("ﾘﾝｸ先の設定"));

    engine.setSelection(1, 1);
    EXPECT_FALSE(item(7)->isVisible()) << "the picture has its link: it is edited or deleted";
    EXPECT_TRUE(item(8)->isVisible());
}

// The pop-up items "…の削除" delete the field under the caret. The reference's
// delete item once opened the input box instead, as if it made a new reference.
TEST_F(Fields, ToolTipAndReferenceJobsAskForTheirTextAndTheDeleteItemsKeepTheText)
{
    struct Row {
        int job;
        const char* data;
        const char* kind;
        const char* deleteItem;
    };
    const Row rows[] = {
        {53, "TP_explained", "TP", "ﾂｰﾙﾁｯﾌﾟの削除"},
        {52, "DX_explained", "DX", "dxml参照の削除"},
    };
    start();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.job);
        engine.setPlainText(QStringLiteral("word"));
        engine.setSelection(0, 4);
        environment.dialogs.answerText(QStringLiteral("explained"));
        editor.rtAct(row.job, 0);
        ASSERT_EQ(engine.fieldIds().size(), 1);
        EXPECT_EQ(dataOf(engine.fieldIds().first()), QString::fromUtf8(row.data));
        EXPECT_EQ(editor.ChkJbMn3().vFdTyp, QString::fromUtf8(row.kind));
        engine.setSelection(2, 0);
        environment.dialogs.clear();
        editor.settingsDialog().menus().action(dialogs::PopupMenu::Insert, QString::fromUtf8(row.deleteItem))->trigger();
        EXPECT_TRUE(environment.dialogs.asked().empty());
        EXPECT_TRUE(engine.fieldIds().isEmpty());
        EXPECT_EQ(engine.plainText(), QStringLiteral("word"));
    }
}

TEST_F(Fields, FieldsSurviveASnapshotRoundTrip)
{
    start();
    field(QStringLiteral("tag"), QStringLiteral("TG_5"), editor::FieldCommands::kTagStyle);
    const QByteArray bytes = engine.saveToMemory(engine::FormatCode::Snapshot).value_or(QByteArray());
    engine::TextEngine copy;
    ASSERT_TRUE(copy.loadFromMemory(bytes, engine::FormatCode::Snapshot, false));
    ASSERT_EQ(copy.fieldIds().size(), 1);
    copy.setCurrentField(copy.fieldIds().first());
    EXPECT_EQ(copy.fieldData(), QStringLiteral("TG_5"));
    EXPECT_EQ(copy.fieldKind(), 2);
    EXPECT_EQ(copy.fieldAttribute(), editor::FieldCommands::kProgramAttribute);
}

TEST_F(Fields, CopyAndPasteInsideTheDocumentGivesASecondField)
{
    start();
    field(QStringLiteral("link"), QStringLiteral("https://example.org/"));
    engine.setSelection(0, 4);
    engine.copy();
    engine.setSelection(4, 0);
    ASSERT_TRUE(engine.paste());
    const QList<int> ids = engine.fieldIds();
    ASSERT_EQ(ids.size(), 2);
    EXPECT_NE(ids[0], ids[1]);
    EXPECT_EQ(dataOf(ids[1]), QStringLiteral("https://example.org/"));
}

TEST_F(Fields, ReformatGivesProgramFieldsTheirKindColourAndLeavesOthers)
{
    start();
    const int tag = field(QStringLiteral("tag"), QStringLiteral("TG_5"), editor::FieldCommands::kTagStyle);
    const int plain = engine.insertField(QStringLiteral("engine"));
    engine.setCurrentField(plain);
    engine.setFieldKind(0);
    const std::optional<engine::FieldRun> tagRun = engine::Fields(*engine.activeDocument()).find(tag);
    const std::optional<engine::FieldRun> plainRun = engine::Fields(*engine.activeDocument()).find(plain);
    engine.setSelection(0, engine.plainText().size());
    engine.setTextColor(0x0000FF);
    engine.setStrikeOut(true);
    editor::FieldCommands(engine, editor.formats(), {}).reformat(-1, 0);
    engine.setSelection(tagRun->start + 1, 1);
    EXPECT_EQ(engine.textColor(), 0x808000);
    EXPECT_FALSE(engine.strikeOut());
    EXPECT_TRUE(engine.underline());
    engine.setSelection(plainRun->start + 1, 1);
    EXPECT_EQ(engine.textColor(), 0x0000FF);
}

} // namespace
