// LibreOffice opens the .docx files the writer makes: a document with a
// heading, a table, a picture and a link is written, converted by
// LibreOffice to HTML, and the HTML still holds them. Skipped where
// LibreOffice is not installed (Debian libreoffice-writer-nogui).

#include "formats/docx/docxwriter.h"
#include "formats/docx/tests/docxfixture.h"
#include "formats/html/tests/documentbuilder.h"

#include "engine/fieldformat.h"
#include "testsupport/tempfolder.h"

#include <QTextCursor>

#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

// The file LibreOffice converted `source` ("doc.docx") into, as `format`;
// "" when it could not.
QString convertedFile(const QString& soffice, const QString& source, const QString& folder, const QString& format)
{
    QProcess process;
    process.start(soffice, {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(folder + QStringLiteral("/profile")).toString(),
                            QStringLiteral("--headless"), QStringLiteral("--convert-to"), format,
                            QStringLiteral("--outdir"), folder + QStringLiteral("/out"), source});
    if (!process.waitForFinished(180000) || process.exitCode() != 0)
        return {};
    const QString converted = folder + QStringLiteral("/out/doc.") + format;
    return QFile::exists(converted) ? converted : QString();
}

QString convertedByLibreOffice(const QString& soffice, const QString& source, const QString& folder)
{
    QFile file(convertedFile(soffice, source, folder, QStringLiteral("html")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString pdfPageText(const QString& pdf, int page)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                             QString::number(page), pdf, QStringLiteral("-")});
    tool.waitForFinished(30000);
    return QString::fromUtf8(tool.readAllStandardOutput());
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

TEST(DocxWriterInterop, LibreOfficeNumbersThePagesOfAPageNumberFooter)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (Debian libreoffice-writer-nogui) is not installed";
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (Debian poppler-utils) is not installed";
    docxtest::Documents documents;
    formatstest::DocumentBuilder body(documents.body);
    formatstest::ParagraphLook broken;
    broken.pageBreak = true;
    body.paragraph().text(QStringLiteral("first"));
    body.paragraph(broken).text(QStringLiteral("second"));
    body.paragraph(broken).text(QStringLiteral("third"));
    documents.setup.headerFooterFlags = engine::FooterEveryPage;
    QTextCursor footer(&documents.footer);
    footer.insertText(QStringLiteral("Page "));
    footer.insertText(QStringLiteral("1"), engine::pageNumberFieldFormat(1));
    footer.insertText(QStringLiteral(" end"), QTextCharFormat());
    const std::optional<QByteArray> package = formats::docx::writeDocx(documents.set(), html::StyleSet::defaults());
    ASSERT_TRUE(package);
    testsupport::TempFolder folder;
    const QString pdf = convertedFile(soffice, folder.write(QStringLiteral("doc.docx"), *package), folder.path(),
                                      QStringLiteral("pdf"));
    ASSERT_FALSE(pdf.isEmpty());
    for (int page = 1; page <= 3; ++page) {
        const QString text = pdfPageText(pdf, page);
        EXPECT_TRUE(text.contains(QStringLiteral("Page %1 end").arg(page))) << page << ": " << text.toStdString();
    }
}

} // namespace
