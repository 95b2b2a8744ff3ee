// LibreOffice opens the .docx files the writer makes: a document with a
// heading, a table, a picture and a link is written, converted by
// LibreOffice to HTML, and the HTML still holds them. Skipped where
// LibreOffice is not installed (Debian libreoffice-writer-nogui).

#include "formats/docx/docxwriter.h"
#include "formats/docx/tests/docxfixture.h"
#include "formats/html/tests/documentbuilder.h"

#include "testsupport/tempfolder.h"

#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

QString convertedByLibreOffice(const QString& soffice, const QString& source, const QString& folder)
{
    QProcess process;
    process.start(soffice, {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(folder + QStringLiteral("/profile")).toString(),
                            QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("html"),
                            QStringLiteral("--outdir"), folder + QStringLiteral("/out"), source});
    if (!process.waitForFinished(180000) || process.exitCode() != 0)
        return {};
    QFile file(folder + QStringLiteral("/out/doc.html"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(DocxWriterInterop, LibreOfficeKeepsTextHeadingsTablesPicturesAndLinks)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (Debian libreoffice-writer-nogui) is not installed";
    docxtest::Documents documents;
    formatstest::DocumentBuilder body(documents.body);
    body.paragraph(formatstest::ParagraphLook::heading(1)).text(QStringLiteral("第一章"));
    body.paragraph().text(QStringLiteral("本文の段落 ")).field(QStringLiteral("リンク"), QStringLiteral("https://example.jp/"));
    QTextTable* table = body.table(1, 2);
    body.paragraph().text(QStringLiteral("左のセル"));
    body.inCell(table, 0, 1).paragraph().text(QStringLiteral("右のセル"));
    body.atEnd().paragraph().picture(formatstest::testPicture(30, 20, Qt::red), engine::PictureInline, QStringLiteral("p.png"));
    const std::optional<QByteArray> package = formats::docx::writeDocx(documents.set(), html::StyleSet::defaults());
    ASSERT_TRUE(package);
    testsupport::TempFolder folder;
    const QString html = convertedByLibreOffice(soffice, folder.write(QStringLiteral("doc.docx"), *package), folder.path());
    ASSERT_FALSE(html.isEmpty());
    EXPECT_TRUE(html.contains(QStringLiteral("<h1"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("第一章")));
    EXPECT_TRUE(html.contains(QStringLiteral("本文の段落")));
    EXPECT_TRUE(html.contains(QStringLiteral("<table")));
    EXPECT_TRUE(html.contains(QStringLiteral("左のセル")) && html.contains(QStringLiteral("右のセル")));
    EXPECT_TRUE(html.contains(QStringLiteral("<img")));
    EXPECT_TRUE(html.contains(QStringLiteral("href=\"https://example.jp/\"")));
}

} // namespace
