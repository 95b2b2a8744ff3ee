#pragma once
// mClt: the small scanning and file routines the whole program shares — finding
// markers in text, splitting lists, and reading and writing whole text files.
//
// Conventions:
// - Positions handed out by these routines (bInText) are 1-based character
//   positions, 0 meaning "not found", as the HTML passes and other callers
//   count them. Lengths count UTF-16 characters.
// - Marker searches use text comparison (env/textcompare.h); trailing-separator
//   tests compare exactly.
// - "Trimmed" means trimmed of spaces (U+0020) only: tabs, line feeds and the
//   ideographic space are content.
// - File failures are reported to the caller, never shown: sReadUtf8 gives
//   std::nullopt, WriteUtf8 and MakeFolders give false.

#include <QString>
#include <QStringView>
#include <optional>

namespace mClt {

// Largest file the text readers accept (bytes); anything bigger is refused
// rather than exhausting memory.
inline constexpr qint64 maxTextFileSize = 512LL * 1024 * 1024;

// True when `needle` is not empty and occurs in `haystack`; *position gets its
// 1-based position (0 when absent).
bool bInText(QStringView haystack, QStringView needle, qsizetype* position = nullptr);

// The text after the first `start` marker up to the next `end` marker; a
// missing end marker gives the rest of the text, a missing start marker "".
// An empty start means "from the beginning", an empty end "to the end".
QString sBetween(const QString& text, QStringView start, QStringView end);

// Removes every trailing copy of `separator` from `text`; an empty separator
// means ",", and then ", " and " ," count as "," first.
void CutTail(QString& text, QString separator = {});

// Splits `text` at the first `separator` (text comparison) into trimmed halves;
// without one, left is the whole trimmed text and right is "".
void SplitAt(QStringView text, QStringView separator, QString& left, QString& right);

// `text` without leading and trailing spaces (U+0020 only).
QString trimSpaces(QStringView text);

// The whole file decoded as UTF-8, a leading byte-order mark skipped;
// nullopt when it cannot be read or is larger than maxTextFileSize.
std::optional<QString> sReadUtf8(const QString& path);

// Replaces the file by `text` as UTF-8 with a byte-order mark. Atomic: the old
// file stays whole unless the new one was written completely. False on failure.
bool WriteUtf8(const QString& path, QStringView text);

// The whole file decoded from the legacy Japanese code page (CP932); "" when
// it is missing, unreadable or larger than maxTextFileSize.
QString sReadText(const QString& path);

// True when `path` is an existing file. With `wildcards` set, a file name
// holding ? or * is matched (ignoring case) against the folder's files.
bool bFileThere(const QString& path, bool wildcards = false);

bool bFolderThere(const QString& path);

// Creates every missing folder along `path`; true when it exists afterwards.
bool MakeFolders(const QString& path);

// `path` ending in exactly one more "/" when it had none, as folder paths
// are joined to names throughout the program.
QString withSlash(const QString& path);

} // namespace mClt
