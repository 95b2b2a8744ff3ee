#pragma once
// Golden files: expected output kept beside the tests. Running the tests with
// UPDATE_GOLDEN set rewrites them from what the code now writes, for review.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace testsupport {

// Compares `actual` with the golden file `expectedPath`; with UPDATE_GOLDEN
// set, writes `actual` there first.
::testing::AssertionResult matchesGolden(const QByteArray& actual, const QString& expectedPath);

// The names of the files in `folder` ending in `suffix`, without the suffix,
// in name order: one test case each.
QStringList goldenCases(const QString& folder, const QString& suffix);

} // namespace testsupport
