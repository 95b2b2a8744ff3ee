#pragma once
// The words the program uses, in the editor and on the command line, for what
// a read lost or why it refused a file.

#include "engine/documentset.h"

#include <QString>
#include <QStringList>

namespace formats {

// One line per thing the read lost: "ﾌｧｲﾙ: <name> の <n> 文字を読み取れませんでした｡"
// for unreadable characters, "ﾌｧｲﾙ: <name> の" + phrase for each kind of content
// the document could not keep; empty when the read lost nothing.
QStringList readWarnings(const QString& fileName, const engine::ReadReport& report);
// Why a read refused the file, as a sentence to follow "を読み込めません｡";
// "" when it said nothing more.
QString readRefusal(const engine::ReadReport& report);

} // namespace formats
