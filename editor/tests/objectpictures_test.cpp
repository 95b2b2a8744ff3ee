// The object menu's picture items: 編集 draws the picture again at a size
// the user gives it, the two links lead to its enlarged picture, ﾌﾟﾛﾊﾟﾃｨ
// gives it its alternative text.

#include "editor/picturetools.h"
#include "editor/utxm.h"

#include "dialogs/popupmenus.h"
#include "editortestsupport.h"
#include "engine/fields.h"
#include "engine/textengine.h"
#include "picture/tests/pictures.h"
#include "testsupport/modalanswer.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>

using editor::uTxm;
using picture::testing::filled;
using testsupport::ModalAnswer;

namespace {

const QString kOk = QStringLiteral("Ok(&O)");
constexpr int kEditItem = 3;
constexpr int kOwnFileLinkItem = 15;
constexpr int kChosenFileLinkItem = 16;
constexpr int kPropertiesItem = 21;

struct ObjectPictures : ::testing::Test {
    editortest::Environment environment;
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    ObjectPictures()
    {
        editor.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(std::make_shared<std::vector<bool>>()));
        editor.cOn(1, 4);
        engine.setPlainText(QStringLiteral("前後"));
        engine.setSelection(1, 0);
        editor.setDcEdt(false);
    }

    // A picture file inserted through job 35, confirmed at its own size and selected.
    QString insertPictureFile(const QString& name, const QImage& image)
    {
        const QString file = environment.dir.write(name, picture::testing::encoded(image, "PNG"));
        engine.setSelection(1, 0);
        environment.dialogs.answerFiles({file});
        ModalAnswer answer(kOk);
        editor.rtAct(35);
        selectPicture();
        editor.setDcEdt(false);
        environment.dialogs.clear();
        return file;
    }
    void selectPicture() { engine.setSelection(1, 1); }
    QAction* item(int index) { return editor.contextMenu()->actions().at(index); }
    QString linkData() const
    {
        const QList<int> ids = engine.fieldIds();
        return ids.size() == 1 ? engine::Fields(*engine.activeDocument()).format(ids.first()).stringProperty(engine::FieldData)
                               : QString();
    }
};

TEST(EnlargedPictureAddress, IsRelativeInsideTheDocumentsFolderAndTheFullPathElsewhere)
{
    const QString folder = QDir::tempPath() + QStringLiteral("/site");
    EXPECT_EQ(editor::enlargedPictureAddress(folder + QStringLiteral("/big/photo.jpg"), folder + QStringLiteral("/page.htm")),
              QStringLiteral("big/photo.jpg"));
    EXPECT_EQ(editor::enlargedPictureAddress(folder + QStringLiteral("/photo.jpg"), folder + QStringLiteral("/page.htm")),
              QStringLiteral("photo.jpg"));
    const QString outside = QDir::tempPath() + QStringLiteral("/pictures/photo.jpg");
    EXPECT_EQ(editor::enlargedPictureAddress(outside, folder + QStringLiteral("/page.htm")), QDir::toNativeSeparators(outside));
    EXPECT_EQ(editor::enlargedPictureAddress(outside, QString()), QDir::toNativeSeparators(outside))
        << "a document not saved yet has no folder to be relative to";
}

TEST_F(ObjectPictures, TheItemsAreOfferedForAPictureOnlyAndTheOwnFileLinkOnlyWhileTheFileIsThere)
{
    engine.setSelection(1, 0);
    ASSERT_GT(engine.insertPicture(filled(8, 8), engine::PictureInline), 0);
    selectPicture();
    for (int index : {kEditItem, kChosenFileLinkItem, kPropertiesItem})
        EXPECT_TRUE(item(index)->isEnabled()) << index;
    EXPECT_TRUE(item(kOwnFileLinkItem)->isVisible());
    EXPECT_FALSE(item(kOwnFileLinkItem)->isEnabled()) << "a pasted picture has no file of its own";

    engine.setPlainText(QStringLiteral("前後"));
    const QString file = insertPictureFile(QStringLiteral("own.png"), filled(8, 8));
    EXPECT_TRUE(item(kOwnFileLinkItem)->isEnabled());
    ASSERT_TRUE(QFile::remove(file));
    EXPECT_FALSE(item(kOwnFileLinkItem)->isEnabled());

    engine.setPlainText(QString());
    const int frame = engine.insertTextFrame();
    ASSERT_GT(frame, 0);
    ASSERT_TRUE(engine.makeTextFrameCurrent(frame));
    ASSERT_EQ(engine.currentObject(), frame);
    EXPECT_EQ(editor.contextMenu(), editor.settingsDialog().menus().menu(dialogs::PopupMenu::Object));
    EXPECT_FALSE(item(kOwnFileLinkItem)->isVisible()) << "a text frame has no enlarged picture";
    EXPECT_FALSE(item(kEditItem)->isEnabled());
    EXPECT_FALSE(item(kPropertiesItem)->isEnabled());
}

// The dialog opens at the size the document shows, not the image's own, and
// the picture keeps its link and place when it is drawn again.
TEST_F(ObjectPictures, EditDrawsThePictureAgainAtTheSizeTheUserGivesItAndKeepsItsLink)
{
    ASSERT_GT(engine.insertPicture(filled(80, 40), engine::PictureInline, {}, 50), 0);
    selectPicture();
    const int id = engine.currentObject();
    {
        ModalAnswer answer(kOk);
        item(kEditItem)->trigger();
        ASSERT_TRUE(answer.seen());
    }
    selectPicture();
    ASSERT_TRUE(engine.currentPicture());
    EXPECT_EQ(engine.currentPicture()->image.size(), QSize(40, 20)) << "drawn at the size shown";
    EXPECT_EQ(engine.currentObject(), id);
    EXPECT_TRUE(editor.bDcEdt());

    engine.setSelection(1, 1);
    ASSERT_EQ(editor.GetObj()->fieldIds().size(), 0);
    environment.dialogs.answerFiles({environment.dir.write(QStringLiteral("big.png"), picture::testing::encoded(filled(4, 4), "PNG"))});
    item(kChosenFileLinkItem)->trigger();
    ASSERT_FALSE(linkData().isEmpty());
    selectPicture();
    QSize drawn;
    {
        ModalAnswer answer(kOk, [&drawn](QDialog& dialog) {
            dialog.resize(dialog.size() + QSize(30, 10));
            drawn = dialog.findChild<QLabel*>()->size();
        });
        item(kEditItem)->trigger();
    }
    selectPicture();
    EXPECT_NE(drawn, QSize(40, 20));
    EXPECT_EQ(engine.currentPicture()->image.size(), drawn);
    EXPECT_EQ(engine.currentObject(), id);
    EXPECT_FALSE(linkData().isEmpty()) << "the link beside the picture stays";

    editor.rtAct(11);
    selectPicture();
    EXPECT_EQ(engine.currentPicture()->image.size(), QSize(40, 20)) << "undo brings the earlier drawing back";
}

TEST_F(ObjectPictures, ACancelledEditLeavesThePictureAndTheDocumentAsTheyWere)
{
    ASSERT_GT(engine.insertPicture(filled(30, 10), engine::PictureInline), 0);
    selectPicture();
    editor.setDcEdt(false);
    ModalAnswer answer(QStringLiteral("Cancel(&C)"));
    item(kEditItem)->trigger();
    EXPECT_TRUE(answer.seen());
    selectPicture();
    EXPECT_EQ(engine.currentPicture()->image.size(), QSize(30, 10));
    EXPECT_FALSE(editor.bDcEdt());
}

TEST_F(ObjectPictures, TheOwnFileLinkLeadsToTheFileThePictureCameFromRelativeToTheSavedDocument)
{
    const QString file = insertPictureFile(QStringLiteral("photos/wide.png"), filled(12, 6));
    item(kOwnFileLinkItem)->trigger();
    EXPECT_EQ(linkData(), QDir::toNativeSeparators(file));
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_EQ(engine.plainText(), QStringLiteral("前\uFFFC  後")) << "an object link sits beside its picture";

    // A picture that has its link already gets the new address, not a second link.
    selectPicture();
    const QString other = environment.dir.write(QStringLiteral("photos/other.png"), picture::testing::encoded(filled(4, 4), "PNG"));
    environment.dialogs.answerFiles({other});
    item(kChosenFileLinkItem)->trigger();
    EXPECT_EQ(engine.fieldIds().size(), 1);
    EXPECT_EQ(linkData(), QDir::toNativeSeparators(other));

    // Saved beside the pictures' folder, the document links to them relatively.
    QString saved = environment.dir.path(QStringLiteral("page.txt"));
    ASSERT_TRUE(editor.txSaveAs(saved));
    selectPicture();
    item(kOwnFileLinkItem)->trigger();
    EXPECT_EQ(linkData(), QStringLiteral("photos/wide.png"));
}

TEST_F(ObjectPictures, ChoosingAnEnlargedPictureStartsInThePicturesFolderAndCancelChangesNothing)
{
    const QString file = insertPictureFile(QStringLiteral("photos/wide.png"), filled(12, 6));
    environment.dialogs.answerFiles({});
    item(kChosenFileLinkItem)->trigger();
    ASSERT_FALSE(environment.dialogs.asked().empty());
    EXPECT_EQ(environment.dialogs.asked().front().file.folder, QFileInfo(file).absolutePath());
    EXPECT_TRUE(engine.fieldIds().isEmpty());
    EXPECT_FALSE(editor.bDcEdt());
}

TEST_F(ObjectPictures, AnOwnFileThatWentAwaySaysSoAndLinksNothing)
{
    const QString file = insertPictureFile(QStringLiteral("gone.png"), filled(12, 6));
    ASSERT_TRUE(QFile::remove(file));
    editor.rtAct(dialogs::kEnlargedPictureLinkJob, 0);
    ASSERT_EQ(environment.dialogs.messages().size(), 1);
    EXPECT_TRUE(environment.dialogs.messages().front().contains(QDir::toNativeSeparators(file)));
    EXPECT_TRUE(engine.fieldIds().isEmpty());
    EXPECT_FALSE(editor.bDcEdt());
}

TEST_F(ObjectPictures, PropertiesShowTheSizesAndGiveThePictureItsAlternativeText)
{
    insertPictureFile(QStringLiteral("sign.png"), filled(20, 10));
    environment.dialogs.answerText(QStringLiteral("案内図"));
    item(kPropertiesItem)->trigger();
    ASSERT_EQ(environment.dialogs.asked().size(), 1);
    const QString prompt = environment.dialogs.asked().front().text;
    EXPECT_TRUE(prompt.contains(QStringLiteral("20 × 10 ﾋﾟｸｾﾙ"))) << prompt.toStdString();
    EXPECT_TRUE(prompt.contains(QStringLiteral("sign.png")));
    selectPicture();
    EXPECT_EQ(engine.currentPicture()->altText, QStringLiteral("案内図"));
    EXPECT_TRUE(editor.bDcEdt());

    editor.setDcEdt(false);
    environment.dialogs.clear();
    environment.dialogs.answerText(QStringLiteral("案内図"));
    item(kPropertiesItem)->trigger();
    EXPECT_FALSE(editor.bDcEdt()) << "the same text again changes nothing";
}

} // namespace
