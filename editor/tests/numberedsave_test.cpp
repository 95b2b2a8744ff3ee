// The update of a new database document: written by the host's number into
// the numbered-documents folder, or into the work folder's "temp.doc", as a
// Word 97–2003 file; what the numbering switch, a missing number and failing
// writes do; and the folder routine the numbered save and save-as share.
// Format 9 is served here by the Word codec, watched, so that these cases do
// not wait for LibreOffice; the real .doc codec has its own interop cases.

#include "editor/documentnumbering.h"
#include "editor/utxm.h"

#include "editortestsupport.h"
#include "engine/documentcodec.h"
#include "engine/fieldformat.h"
#include "engine/textengine.h"
#include "formats/docx/docxcodec.h"
#include "formats/docx/tests/watchedcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSignalSpy>

using editor::uTxm;
using engine::FormatCode;

namespace {

// A host that numbers its documents as a test tells it.
class Numbers : public editor::DocumentNumberSource {
public:
    qint32 nTmpNo() const override
    {
        ++asked;
        return number;
    }
    qint32 number = 0;
    mutable int asked = 0;
};

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The text of a Word file, read back by the Word codec.
QString textOf(const QString& path)
{
    engine::TextEngine reader;
    return reader.loadFile(path, FormatCode::Docx, false) ? reader.plainText() : QStringLiteral("<unreadable>");
}

struct NumberedSave : ::testing::Test {
    editortest::Environment environment;
    std::shared_ptr<docxtest::WatchedWordCodec> codec = std::make_shared<docxtest::WatchedWordCodec>();
    Numbers numbers;
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();
    QSignalSpy filed{&editor, &uTxm::eSaveDB};

    NumberedSave()
    {
        env::gsUsrPh = environment.dir.path(QStringLiteral("user")) + u'/';
        QDir().mkpath(env::gsUsrPh);
        formats::docx::registerDocxCodec();
        engine::registerCodec(FormatCode::Doc, codec);
        editor.cOn(1, 0);
        editor.setNumberSource(&numbers);
        editor.rtAct(87, true);
    }
    ~NumberedSave() override
    {
        engine::registerCodec(FormatCode::Doc, nullptr);
        env::gsUsrPh.clear();
    }

    void typed(const QString& text)
    {
        engine.setSelection(0, -1);
        engine.setSelectedText(text);
        ASSERT_TRUE(editor.bDcEdt());
    }
    QString numbered(const QString& name) const { return env::gsUsrPh + QStringLiteral("Dbs/_doc/") + name; }
    QString workFile() const { return env::gsWrkPh + QStringLiteral("temp.doc"); }
};

TEST_F(NumberedSave, TheNumberNamesTheFileWithAtLeastFourDigitsInFoldersMadeForIt)
{
    typed(QStringLiteral("七番の文書"));
    numbers.number = 7;
    editor.rtAct(4);
    EXPECT_EQ(textOf(numbered(QStringLiteral("0007.doc"))), QStringLiteral("七番の文書"));
    EXPECT_EQ(filed.size(), 1);
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_TRUE(environment.dialogs.asked().empty()); // a new database document is never asked a name for
    EXPECT_EQ(editor.currentFile(), QString());       // and stays new: the next update numbers it again

    // The number is the host's at the moment of each save.
    typed(QStringLiteral("大きな番号"));
    numbers.number = 12345;
    editor.rtAct(4);
    EXPECT_EQ(textOf(numbered(QStringLiteral("12345.doc"))), QStringLiteral("大きな番号"));
    EXPECT_EQ(textOf(numbered(QStringLiteral("0007.doc"))), QStringLiteral("七番の文書"));
    EXPECT_EQ(numbers.asked, 2);
    EXPECT_EQ(filed.size(), 2);
    EXPECT_EQ(codec->writes, 2);
}

TEST_F(NumberedSave, AnExistingNumberedFileIsReplacedWithoutAQuestion)
{
    numbers.number = 42;
    typed(QStringLiteral("first"));
    editor.rtAct(4);
    typed(QStringLiteral("second"));
    editor.rtAct(4);
    EXPECT_EQ(textOf(numbered(QStringLiteral("0042.doc"))), QStringLiteral("second"));
    EXPECT_TRUE(environment.dialogs.asked().empty());
}

TEST_F(NumberedSave, WithoutANumberTheWorkFileIsWrittenAndProposedWhenOpening)
{
    typed(QStringLiteral("番号なし"));
    editor.rtAct(4);
    EXPECT_EQ(textOf(workFile()), QStringLiteral("番号なし"));
    EXPECT_FALSE(QFileInfo::exists(env::gsUsrPh + QStringLiteral("Dbs")));
    EXPECT_EQ(filed.size(), 1);
    EXPECT_FALSE(editor.bDcEdt());

    editor.rtAct(10); // the open dialog, cancelled
    ASSERT_EQ(environment.dialogs.asked().size(), 1u);
    const env::FileRequest& request = environment.dialogs.asked().front().file;
    EXPECT_EQ(QDir(request.folder).filePath(request.fileName), QDir::cleanPath(workFile()));
    EXPECT_EQ(environment.dialogs.asked().front().file.filterIndex, 1); // the .doc filter
}

TEST_F(NumberedSave, WithNumberingOffNothingIsWrittenButTheHostIsStillTold)
{
    editor.rtAct(87, false);
    EXPECT_FALSE(editor.numbering());
    numbers.number = 7;
    typed(QStringLiteral("text"));
    editor.rtAct(4);
    EXPECT_EQ(codec->writes, 0);
    EXPECT_FALSE(QFileInfo::exists(env::gsUsrPh + QStringLiteral("Dbs")));
    EXPECT_FALSE(QFileInfo::exists(workFile()));
    EXPECT_EQ(numbers.asked, 0);
    EXPECT_EQ(filed.size(), 1);
    EXPECT_FALSE(editor.bDcEdt());
}

TEST_F(NumberedSave, AHostWithoutNumbersCannotSaveAndTheDocumentStaysEdited)
{
    editor.setNumberSource(nullptr);
    typed(QStringLiteral("text"));
    editor.rtAct(4);
    EXPECT_EQ(environment.dialogs.messages(), QStringList{QStringLiteral("文書番号が分からないため､文書を保存できません｡")});
    EXPECT_EQ(codec->writes, 0);
    EXPECT_TRUE(filed.isEmpty());
    EXPECT_TRUE(editor.bDcEdt());
}

TEST_F(NumberedSave, AFailedWriteLeavesTheOldFileAndTellsTheUpdatesMessage)
{
    numbers.number = 42;
    typed(QStringLiteral("kept"));
    editor.rtAct(4);
    const QByteArray kept = contentsOf(numbered(QStringLiteral("0042.doc")));
    ASSERT_FALSE(kept.isEmpty());

    codec->breakWrites = true;
    typed(QStringLiteral("lost"));
    editor.rtAct(4);
    EXPECT_EQ(environment.dialogs.messages(), QStringList{QStringLiteral("ﾌｧｲﾙ: 0042.doc を保存できません｡")});
    EXPECT_EQ(contentsOf(numbered(QStringLiteral("0042.doc"))), kept);
    EXPECT_EQ(filed.size(), 1); // only the first save was filed
    EXPECT_TRUE(editor.bDcEdt());
}

TEST_F(NumberedSave, AFileInThePlaceOfTheFolderStopsTheSave)
{
    QFile blocker(env::gsUsrPh + QStringLiteral("Dbs"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    numbers.number = 3;
    typed(QStringLiteral("text"));
    editor.rtAct(4);
    ASSERT_EQ(environment.dialogs.messages().size(), 1);
    EXPECT_TRUE(environment.dialogs.messages().front().startsWith(QStringLiteral("ﾌｧｲﾙ: 0003.doc を保存できません｡")));
    EXPECT_EQ(codec->writes, 0);
    EXPECT_TRUE(filed.isEmpty());
    EXPECT_TRUE(editor.bDcEdt());
}

TEST_F(NumberedSave, PicturesAreMadeFloatingPicturesAndTheSelectionStays)
{
    typed(QStringLiteral("ab"));
    engine.setSelection(1, 0);
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    const int first = engine.insertPicture(image, engine::PictureInline);
    const int second = engine.insertPicture(image, engine::PictureInline);
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    engine.setSelection(0, 2);
    editor.rtAct(4);
    EXPECT_EQ(engine.selectionStart(), 0);
    EXPECT_EQ(engine.selectionLength(), 2);
    for (int id : {first, second}) {
        ASSERT_TRUE(engine.setCurrentObject(id));
        EXPECT_EQ(engine.objectSetting(), 1);
    }
}

// A field whose text was emptied is no field any more, so none reaches the
// numbered file; the one with text does.
TEST_F(NumberedSave, NoEmptyFieldReachesTheNumberedFile)
{
    typed(QStringLiteral("本文 "));
    engine.setSelection(3, 0);
    const int kept = engine.insertField(QStringLiteral("残る"));
    ASSERT_TRUE(engine.setFieldData(QStringLiteral("TP_kept")));
    const int emptied = engine.insertField(QStringLiteral("消える"));
    ASSERT_TRUE(engine.setFieldData(QStringLiteral("TP_emptied")));
    ASSERT_TRUE(engine.setCurrentField(emptied));
    ASSERT_TRUE(engine.setFieldText(QString()));
    numbers.number = 5;
    editor.rtAct(4);
    EXPECT_EQ(engine.fieldIds(), QList<int>{kept});
    engine::TextEngine reader;
    ASSERT_TRUE(reader.loadFile(numbered(QStringLiteral("0005.doc")), FormatCode::Docx, false));
    QStringList data;
    for (const int id : reader.fieldIds()) {
        reader.setCurrentField(id);
        data << reader.fieldData() + u'=' + reader.fieldText();
    }
    EXPECT_EQ(data, QStringList{QStringLiteral("TP_kept=残る")});
}

// A new document is saved by number also when the update question before
// replacing it is answered Yes (the update rule's default asks).
TEST_F(NumberedSave, TheUpdateRuleSavesANewDocumentByNumber)
{
    numbers.number = 9;
    typed(QStringLiteral("保存してから新規"));
    environment.dialogs.answer(env::Answer::Yes);
    editor.rtAct(2);
    EXPECT_EQ(textOf(numbered(QStringLiteral("0009.doc"))), QStringLiteral("保存してから新規"));
    EXPECT_EQ(engine.plainText(), QString());
    EXPECT_EQ(filed.size(), 1);
}

TEST(EnsureFolder, MakesEveryMissingLevelAndRefusesAFileInTheWay)
{
    testsupport::TempFolder dir;
    const QString deep = dir.path(QStringLiteral("a/b/c"));
    EXPECT_TRUE(editor::EnsureFld(deep));
    EXPECT_TRUE(QFileInfo(deep).isDir());
    EXPECT_TRUE(editor::EnsureFld(deep + u'/')); // already there, with or without the separator
    const QString file = dir.write(QStringLiteral("plain"), "x");
    EXPECT_FALSE(editor::EnsureFld(file));
    EXPECT_FALSE(editor::EnsureFld(file + QStringLiteral("/below")));
    EXPECT_EQ(contentsOf(file), QByteArray("x"));
}

TEST(NumberedFileNames, HaveAtLeastFourDigits)
{
    env::gsUsrPh = QStringLiteral("/user/");
    EXPECT_EQ(editor::numberedFileName(7), QStringLiteral("/user/Dbs/_doc/0007.doc"));
    EXPECT_EQ(editor::numberedFileName(123), QStringLiteral("/user/Dbs/_doc/0123.doc"));
    EXPECT_EQ(editor::numberedFileName(12345), QStringLiteral("/user/Dbs/_doc/12345.doc"));
    EXPECT_EQ(editor::numberedFileName(-5), QStringLiteral("/user/Dbs/_doc/-0005.doc"));
    env::gsUsrPh.clear();
}

} // namespace
