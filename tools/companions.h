#pragma once
// The companion programs of the same maker that the launcher knows: their
// executable names and the captions the user knows them by, and how a file
// is recognised as one of them.

#include <QString>

namespace tools {

// Indexes of the companion programs, as the callers number them.
enum Companion : int { Tolvix = 0, Marneth, Selbrin, Korvane, Pendrel, Wystane };
constexpr int kCompanionCount = 6;

struct CompanionInfo {
    QString name;    // executable base name, also the registry value name
    QString caption; // what the user calls it
};

// nullptr for an index outside 0..5.
const CompanionInfo* companionInfo(int index);

// True when the file name of `path` is `name` or `name` + ".exe", in any
// letter case: the executable of that program on this platform or on Windows.
bool namesExecutable(const QString& path, const QString& name);

// The executable of `name` in `folder`: an existing `name` or `name.exe`
// (an exact match before one in another letter case); `folder/name` when
// neither exists.
QString executableIn(const QString& folder, const QString& name);

} // namespace tools
