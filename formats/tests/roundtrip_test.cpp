// Writing a document through the dialect, reading the file back and writing
// it again gives the same file.

#include "formats/tests/formatstest.h"

#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QDir>

using namespace formatstest;

namespace {

QStringList dialectGoldens()
{
    QStringList names;
    for (const QString& file : QDir(dialectGoldenFolder).entryList({QStringLiteral("*.expected.htm")}, QDir::Files, QDir::Name))
        names << file.chopped(QStringLiteral(".expected.htm").size());
    return names;
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

} // namespace
