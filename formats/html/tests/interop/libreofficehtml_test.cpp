// LibreOffice's own HTML, made at test time: a small hand-made document is
// opened by LibreOffice and exported with its HTML filter, then read and saved
// as the dialect the way the editor does. Skipped where LibreOffice is not
// installed (Debian libreoffice-writer-nogui).

#include "formats/html/tests/documentdump.h"
#include "formats/html/tests/formatstest.h"

#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

using namespace formatstest;

namespace {

const QString kDocument = QStringLiteral(
    "<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\"><title>LO</title></head><body>\n"
    "<h1>第一章</h1>\n<h2>Section two</h2>\n<h3>Part three</h3>\n<p>本文</p>\n"
    "<table border=\"1\" cellspacing=\"0\"><tr><td>A1</td><td>B1</td></tr></table>\n"
    "<ol><li>one</li><li>two</li></ol>\n</body></html>\n");

// The file LibreOffice exports from `source` into `folder`; empty when it
// could not.
QString exportedByLibreOffice(const QString& soffice, const QString& source, const QString& folder)
{
    QProcess process;
    process.start(soffice, {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(folder + QStringLiteral("/profile")).toString(),
                            QStringLiteral("--headless"), QStringLiteral("--infilter=HTML (StarWriter)"),
                            QStringLiteral("--convert-to"), QStringLiteral("html:HTML (StarWriter)"),
                            QStringLiteral("--outdir"), folder + QStringLiteral("/out"), source});
    if (!process.waitForFinished(180000) || process.exitCode() != 0)
        return {};
    const QString exported = folder + QStringLiteral("/out/doc.html");
    return QFileInfo::exists(exported) ? exported : QString();
}

// Before, LibreOffice's transparent cells came out black on black, its
// cell borders were lost, and its headings lost their levels.
TEST(LibreOfficeHtml, KeepsHeadingsReadableCellsAndBorders)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (Debian libreoffice-writer-nogui) is not installed";
    testsupport::ScriptedDialogs dialogs;
    testsupport::TempFolder folder;
    const QString source = folder.write(QStringLiteral("doc.htm"), kDocument.toUtf8());
    const QString exported = exportedByLibreOffice(soffice, source, folder.path());
    ASSERT_FALSE(exported.isEmpty());

    const std::unique_ptr<engine::TextEngine> read = readHtml(exported);
    ASSERT_TRUE(read);
    const QStringList dump = documentDump(*read->document());
    const auto headingOf = [&dump](const QString& text) {
        for (const QString& line : dump) {
            if (line.endsWith(QStringLiteral("| ") + text))
                return line.section(u' ', 0, 0);
        }
        return QString();
    };
    EXPECT_EQ(headingOf(QStringLiteral("第一章")), QStringLiteral("heading=1")) << dump.join(u'\n').toStdString();
    EXPECT_EQ(headingOf(QStringLiteral("Section two")), QStringLiteral("heading=1"));
    EXPECT_EQ(headingOf(QStringLiteral("Part three")), QStringLiteral("heading=2"));

    const auto [first, second] = writeReadWrite(*read, folder.path());
    ASSERT_FALSE(first.isEmpty());
    EXPECT_FALSE(first.contains(QStringLiteral("background-color:#000000"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("<table border=\"1\""))) << first.toStdString();
    EXPECT_EQ(second, first);
}

} // namespace
