#include "engine/plaintextcodec.h"

#include "engine/plaintext.h"

#include <QIODevice>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>

namespace engine {

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF");

std::optional<QString> decodeStrictly(QByteArrayView bytes, QStringDecoder decoder)
{
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QString> decodeMarked(const QByteArray& bytes)
{
    if (bytes.startsWith(kUtf8Mark))
        return decodeStrictly(QByteArrayView(bytes).sliced(kUtf8Mark.size()),
                              QStringDecoder(QStringDecoder::Utf8));
    if (bytes.startsWith("\xFF\xFE"))
        return decodeStrictly(QByteArrayView(bytes).sliced(2), QStringDecoder(QStringDecoder::Utf16LE));
    if (bytes.startsWith("\xFE\xFF"))
        return decodeStrictly(QByteArrayView(bytes).sliced(2), QStringDecoder(QStringDecoder::Utf16BE));
    return std::nullopt;
}

bool looksBinary(const QString& text)
{
    return text.contains(QChar(0));
}

} // namespace

std::optional<QString> PlainTextCodec::decode(const QByteArray& bytes)
{
    std::optional<QString> text = decodeMarked(bytes);
    if (!text)
        text = decodeStrictly(bytes, QStringDecoder(QStringDecoder::Utf8));
    if (!text)
        text = decodeStrictly(bytes, QStringDecoder("windows-31j"));
    if (text && looksBinary(*text))
        return std::nullopt;
    return text;
}

QByteArray PlainTextCodec::encode(const QString& text)
{
    return kUtf8Mark + text.toUtf8();
}

bool PlainTextCodec::read(const QByteArray& bytes, const DocumentSet& target)
{
    const std::optional<QString> text = decode(bytes);
    if (!text || !target.body)
        return false;
    QTextCursor cursor(target.body);
    plaintext::insert(cursor, *text);
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
