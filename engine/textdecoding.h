#pragma once
// Turns the bytes of a text file (plain text or HTML) into text, the one way
// every reader of the program does it.
//
// A byte-order mark wins, then a character set the file declares; without
// either, bytes that are valid UTF-8 are UTF-8, and anything else is decided
// by ICU's charset detector. Japanese text is read as CP932 (the Windows
// superset of Shift_JIS that older Japanese files were written in), also a
// short Japanese text ICU cannot yet tell from a Western one. Byte sequences
// the chosen character set cannot read become U+FFFD, and are counted, so
// that the user can be told how many characters were lost.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace engine {

struct DecodedText {
    QString text;               // without the byte-order mark
    qsizetype unreadable = 0;   // byte sequences that became U+FFFD
};

enum class TextMarkup {
    None, // plain text
    Html, // tags are left out when the character set is guessed
};

// `declaredCharset` is the name the file itself gives ("" when none); an
// unknown name counts as none.
DecodedText decodeText(QByteArrayView bytes, TextMarkup markup, QByteArrayView declaredCharset = {});

} // namespace engine
