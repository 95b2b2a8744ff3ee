// Word documents through the editor's command entry with the real reader:
// what a file that cannot be read says, that it leaves the document as it
// was, and what the user hears of content the document could not keep.

#include "editor/utxm.h"

#include "editortestsupport.h"
#include "engine/documentcodec.h"
#include "engine/textengine.h"
#include "formats/docx/docxcodec.h"
#include "formats/docx/tests/docxfixture.h"

#include <QFileInfo>

using editor::uTxm;

namespace {

QByteArray paragraph(const QByteArray& text)
{
    return "<w:p><w:r><w:t>" + text + "</w:t></w:r></w:p>";
}

QByteArray encryptedPackage()
{
    // An OLE compound file (its signature) that names an EncryptedPackage
    // stream, as Word saves a document with a password.
    return QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(512, '\0')
        + QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
}

QByteArray packageOf(const docxtest::Parts& parts)
{
    return docxtest::zipped(parts);
}

QByteArray mainRelationship(const QByteArray& target)
{
    return docxtest::relationships(docxtest::relationship("rId1", "officeDocument", target));
}

QByteArray tooManyEntries()
{
    docxtest::Parts parts{{QStringLiteral("_rels/.rels"), mainRelationship("word/document.xml")},
                          {QStringLiteral("word/document.xml"), "<w:document/>"}};
    for (int i = 0; i < 20001; ++i)
        parts.push_back({QStringLiteral("word/media/e%1.bin").arg(i), QByteArray()});
    return packageOf(parts);
}

QByteArray nested(int depth)
{
    return docxtest::package(QByteArray("<w:sdt><w:sdtContent>").repeated(depth) + paragraph("deep")
                             + QByteArray("</w:sdtContent></w:sdt>").repeated(depth));
}

struct WordFileMessages : ::testing::Test {
    editortest::Environment environment;
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    WordFileMessages()
    {
        formats::docx::registerDocxCodec();
        editor.cOn(1, qint16(4));
    }
    ~WordFileMessages() override { formats::docx::registerDocxCodec(); }

    QString file(const QString& name, const QByteArray& bytes) { return environment.dir.write(name, bytes); }
    testsupport::ScriptedDialogs& dialogs() { return environment.dialogs; }
};

TEST_F(WordFileMessages, EachBadFileSaysWhyAndLeavesTheDocumentAsItWas)
{
    const QString before = file(QStringLiteral("before.txt"), "before");
    editor.rtAct(3, before);
    engine.setSelection(0, -1);
    engine.setSelectedText(QStringLiteral("changed"));
    ASSERT_TRUE(editor.bDcEdt());

    const QByteArray good = docxtest::package(paragraph("good"));
    const struct {
        const char* name;
        QByteArray bytes;
        QString why;
    } rows[] = {
        {"damaged.docx", good.left(good.size() / 2), QStringLiteral("ﾌｧｲﾙが壊れているか､ﾜｰﾄﾞ文書ではありません｡")},
        {"missing.docx", packageOf({{QStringLiteral("_rels/.rels"), mainRelationship("word/document.xml")}}),
         QStringLiteral("文書に必要な部分が見つかりません｡")},
        {"malformed.docx",
         packageOf({{QStringLiteral("_rels/.rels"), mainRelationship("word/document.xml")},
                    {QStringLiteral("word/document.xml"), "<w:document><w:body><w:p></w:body>"}}),
         QStringLiteral("文書の中身が壊れています｡")},
        {"password.docx", encryptedPackage(), QStringLiteral("パスワードで保護された文書は開けません｡")},
        {"entries.docx", tooManyEntries(), QStringLiteral("文書が大きすぎます｡")},
        {"gigabyte.docx",
         docxtest::zippedSpaces(QStringLiteral("word/document.xml"), zip_uint64_t(1) << 30,
                                {{QStringLiteral("_rels/.rels"), mainRelationship("word/document.xml")}}),
         QStringLiteral("文書が大きすぎます｡")},
        {"nested.docx", nested(100000), QStringLiteral("文書の入れ子が深すぎます｡")},
        {"outside.docx",
         packageOf({{QStringLiteral("_rels/.rels"), mainRelationship("../../word/document.xml")},
                    {QStringLiteral("word/document.xml"), "<w:document/>"}}),
         QStringLiteral("文書に必要な部分が見つかりません｡")},
    };
    for (const auto& row : rows) {
        const QString name = QString::fromLatin1(row.name);
        for (const int job : {3, 30}) {
            dialogs().clear();
            dialogs().answerFiles({file(name, row.bytes)});
            editor.rtAct(job, environment.dir.path(name));
            EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("ﾌｧｲﾙ: ") + name + QStringLiteral(" を読み込めません｡") + row.why})
                << row.name << " job " << job;
            EXPECT_EQ(engine.plainText(), QStringLiteral("changed")) << row.name << " job " << job;
            EXPECT_EQ(editor.currentFile(), before) << row.name << " job " << job;
        }
    }
}

TEST_F(WordFileMessages, ADocumentOpensWithOneLineForEachKindOfContentItCouldNotKeep)
{
    const QByteArray body = "<w:p><w:r><w:t>text</w:t></w:r><w:r><w:commentReference w:id=\"0\"/></w:r>"
                            "<w:ins><w:r><w:t>+</w:t></w:r></w:ins><w:ins><w:r><w:t>+</w:t></w:r></w:ins>"
                            "<w:r><w:commentReference w:id=\"1\"/></w:r></w:p>";
    const QString path = file(QStringLiteral("losses.docx"), docxtest::package(body));
    editor.rtAct(3, path);
    EXPECT_EQ(engine.plainText(), QStringLiteral("text++"));
    EXPECT_EQ(editor.currentFile(), path);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("ﾌｧｲﾙ: losses.docx のｺﾒﾝﾄは省きました｡\n"
                                                               "ﾌｧｲﾙ: losses.docx の変更履歴は反映後の内容で読み込みました｡")});
}

} // namespace
