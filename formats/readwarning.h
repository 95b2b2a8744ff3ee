#pragma once
// The words the program uses, in the editor and on the command line, for what
// a read lost.

#include "engine/documentset.h"

#include <QString>

namespace formats {

// "ﾌｧｲﾙ: <name> の <n> 文字を読み取れませんでした｡", or "" when the read lost nothing.
QString readWarning(const QString& fileName, const engine::ReadReport& report);
// The limit a refused read was over, as a sentence to follow "を読み込めません｡";
// "" when it named none.
QString readLimit(const engine::ReadReport& report);

} // namespace formats
