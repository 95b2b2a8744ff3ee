#include "formats/htmltext.h"

#include "env/codepage.h"

#include <QStringDecoder>

namespace formats {

QString decodeHtml(const QByteArray& bytes)
{
    QStringDecoder declared = QStringDecoder::decoderForHtml(bytes);
    if (declared.isValid()) {
        QString text = declared.decode(bytes);
        if (!declared.hasError()) {
            if (text.startsWith(QChar::ByteOrderMark))
                text.remove(0, 1);
            return text.remove(QChar(0));
        }
    }
    const QString text = env::isValidUtf8(bytes) ? QString::fromUtf8(bytes) : env::fromSystemCodePage(bytes);
    return QString(text).remove(QChar(0));
}

} // namespace formats
