#include "testsupport/golden.h"

#include <QDir>
#include <QFile>

namespace testsupport {

::testing::AssertionResult matchesGolden(const QByteArray& actual, const QString& expectedPath)
{
    QFile file(expectedPath);
    if (qEnvironmentVariableIsSet("UPDATE_GOLDEN")) {
        if (!file.open(QIODevice::WriteOnly) || file.write(actual) != actual.size())
            return ::testing::AssertionFailure() << "cannot update " << expectedPath.toStdString();
        file.close();
    }
    if (!file.open(QIODevice::ReadOnly))
        return ::testing::AssertionFailure() << expectedPath.toStdString()
                                             << " is missing; run with UPDATE_GOLDEN=1 to create it";
    if (file.readAll() == actual)
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult differs = ::testing::AssertionFailure();
    differs << expectedPath.toStdString() << " differs (review, then UPDATE_GOLDEN=1)";
    if (!actual.contains('\0'))
        differs << "; written:\n" << actual.toStdString();
    return differs;
}

QStringList goldenCases(const QString& folder, const QString& suffix)
{
    QStringList names;
    for (const QString& file : QDir(folder).entryList({u'*' + suffix}, QDir::Files, QDir::Name))
        names << file.chopped(suffix.size());
    return names;
}

} // namespace testsupport
