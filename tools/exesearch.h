#pragma once
// Where a companion program is looked for when nothing is registered: the
// folders next to this program's folder and one level further out, where an
// installation of the maker's programs side by side puts them.

#include <QString>

namespace tools {

// The executable of program `name` in a folder called `name` (any letter
// case): first among the sub-folders of the parent P of `programFolder`,
// then among the sub-folders S of P's parent other than P, and their
// sub-folders. "" when there is no such folder. The executable itself need
// not exist yet; the caller checks.
QString findCompanionExecutable(const QString& programFolder, const QString& name);

} // namespace tools
