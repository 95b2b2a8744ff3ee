#include "engine/plaintextcodec.h"

#include "engine/plaintext.h"

#include <QIODevice>
#include <QTextCursor>
#include <QTextDocument>

namespace engine {

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF");

// A file holding NULs, or more unreadable characters than readable ones,
// holds no text.
bool looksBinary(const DecodedText& decoded)
{
    return decoded.text.contains(QChar(0)) || decoded.unreadable * 2 > decoded.text.size();
}

} // namespace

std::optional<DecodedText> PlainTextCodec::decode(const QByteArray& bytes)
{
    DecodedText decoded = decodeText(bytes, TextMarkup::None);
    if (looksBinary(decoded))
        return std::nullopt;
    return decoded;
}

QByteArray PlainTextCodec::encode(const QString& text)
{
    return kUtf8Mark + text.toUtf8();
}

bool PlainTextCodec::read(const QByteArray& bytes, const DocumentSet& target)
{
    const std::optional<DecodedText> decoded = decode(bytes);
    if (!decoded || !target.body)
        return false;
    if (decoded->text.count(u'\n') >= kMaxLines) {
        if (target.report)
            target.report->lineLimit = kMaxLines;
        return false;
    }
    QTextCursor cursor(target.body);
    plaintext::insert(cursor, decoded->text);
    if (target.report)
        target.report->unreadableCharacters = decoded->unreadable;
    return true;
}

bool PlainTextCodec::write(const DocumentSet& source, QIODevice& out)
{
    if (!source.body)
        return false;
    const QByteArray bytes = encode(plaintext::fromDocument(*source.body));
    return out.write(bytes) == bytes.size();
}

} // namespace engine
