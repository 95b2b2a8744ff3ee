// Writing a document through the dialect, reading the file back and writing
// it again gives the same file; and what is written is valid HTML 4.01
// Transitional.

#include "formats/html/tests/formatstest.h"
#include "formats/html/tests/testdocuments.h"

#include "testsupport/golden.h"
#include "testsupport/htmlvalidator.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include "engine/documentwalk.h"
#include "engine/objects.h"

#include <QTextTable>
#include <algorithm>

using namespace formatstest;

namespace {

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

INSTANTIATE_TEST_SUITE_P(Html, DialectGolden, ::testing::ValuesIn(testsupport::goldenCases(dialectGoldenFolder, QStringLiteral(".expected.htm"))),
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

// Text frames and tables, by number.
std::pair<qsizetype, qsizetype> framesAndTables(QTextDocument& document)
{
    const QList<QTextFrame*> frames = engine::framesInOrder(document);
    const auto tables = std::count_if(frames.begin(), frames.end(),
                                      [](QTextFrame* frame) { return qobject_cast<QTextTable*>(frame) != nullptr; });
    return {engine::Objects(document).ids(engine::kObjectKindTextFrame).size(), qsizetype(tables)};
}

// Before, a text frame came back as a one-cell table.
TEST_P(BuiltDocument, ReadingBackKeepsTextFramesAndTables)
{
    const QString path = folder.path(QStringLiteral("doc.htm"));
    ASSERT_FALSE(writeDialect(engine, path).isEmpty());
    const std::unique_ptr<engine::TextEngine> again = readHtml(path);
    ASSERT_TRUE(again);
    EXPECT_EQ(framesAndTables(*again->document()), framesAndTables(*engine.document()));
}

TEST_P(BuiltDocument, IsValidHtml401Transitional)
{
    if (!testsupport::htmlValidatorInstalled())
        GTEST_SKIP() << "onsgmls (Debian opensp) is not installed";
    const QString path = folder.path(QStringLiteral("doc.htm"));
    ASSERT_FALSE(writeDialect(engine, path).isEmpty());
    EXPECT_EQ(testsupport::htmlValidatorComplaints(path), QString());
}

INSTANTIATE_TEST_SUITE_P(Documents, BuiltDocument, ::testing::ValuesIn(kCases), caseName);

} // namespace
