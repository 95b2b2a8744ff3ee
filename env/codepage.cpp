#include "env/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace env {

namespace {
const char* const kSystemCodePage = "windows-31j";
}

QString fromSystemCodePage(const QByteArray& bytes)
{
    QStringDecoder decoder(kSystemCodePage);
    return decoder(bytes);
}

QByteArray toSystemCodePage(const QString& text)
{
    QStringEncoder encoder(kSystemCodePage);
    return encoder(text);
}

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString ignored = decoder(bytes);
    return !decoder.hasError();
}

} // namespace env
