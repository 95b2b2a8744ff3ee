// Writing a document through the dialect, reading the file back and writing
// it again gives the same file; and what is written is valid HTML 4.01
// Transitional.

#include "formats/tests/formatstest.h"
#include "formats/tests/testdocuments.h"

#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

using namespace formatstest;

namespace {

QStringList dialectGoldens()
{
    QStringList names;
    for (const QString& file : QDir(dialectGoldenFolder).entryList({QStringLiteral("*.expected.htm")}, QDir::Files, QDir::Name))
        names << file.chopped(QStringLiteral(".expected.htm").size());
    return names;
}

// What OpenSP says against the file with the W3C's HTML 4.01 DTDs; empty
// when it finds nothing wrong.
QString validatorComplaints(const QString& path)
{
    QProcess onsgmls;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SP_CHARSET_FIXED"), QStringLiteral("YES"));
    environment.insert(QStringLiteral("SP_ENCODING"), QStringLiteral("UTF-8"));
    onsgmls.setProcessEnvironment(environment);
    onsgmls.start(QStringLiteral("onsgmls"),
                  {QStringLiteral("-s"), QStringLiteral("-c"), QStringLiteral("/usr/share/xml/w3c-sgml-lib/schema/dtd/sgml.soc"), path});
    const bool finished = onsgmls.waitForFinished(60000);
    const QString complaints = QString::fromUtf8(onsgmls.readAllStandardError());
    if (!finished)
        return QStringLiteral("onsgmls did not finish");
    return onsgmls.exitCode() == 0 ? complaints : complaints + QStringLiteral(" (exit code %1)").arg(onsgmls.exitCode());
}

class DialectGolden : public ::testing::TestWithParam<QString> {};

TEST_P(DialectGolden, ReadingAndWritingAgainIsAFixedPoint)
{
    testsupport::ScriptedDialogs dialogs;
    testsupport::TempFolder folder;
    const std::unique_ptr<engine::TextEngine> golden = readHtml(dialectGoldenFolder + u'/' + GetParam() + QStringLiteral(".expected.htm"));
    ASSERT_TRUE(golden);
    const auto [first, second] = writeReadWrite(*golden, folder.path());
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(second, first);
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Html, DialectGolden, ::testing::ValuesIn(dialectGoldens()),
                         [](const ::testing::TestParamInfo<QString>& info) { return info.param.toStdString(); });

class BuiltDocument : public BuiltCase {
protected:
    testsupport::ScriptedDialogs dialogs;
};

TEST_P(BuiltDocument, ReadingAndWritingAgainIsAFixedPoint)
{
    const auto [first, second] = writeReadWrite(engine, folder.path());
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(second, first);
}

TEST_P(BuiltDocument, IsValidHtml401Transitional)
{
    if (QStandardPaths::findExecutable(QStringLiteral("onsgmls")).isEmpty())
        GTEST_SKIP() << "onsgmls (Debian opensp) is not installed";
    const QString path = folder.path(QStringLiteral("doc.htm"));
    ASSERT_FALSE(writeDialect(engine, path).isEmpty());
    EXPECT_EQ(validatorComplaints(path), QString());
}

INSTANTIATE_TEST_SUITE_P(Documents, BuiltDocument, ::testing::ValuesIn(kCases), caseName);

} // namespace
