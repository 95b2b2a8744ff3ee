#include "formats/docx/docxequations.h"

#include <QXmlStreamReader>

namespace formats::docx {

namespace {

constexpr qsizetype kMaxEquationLength = 65536;

} // namespace

QString readEquationText(QXmlStreamReader& reader)
{
    QString text;
    int depth = 1;
    while (depth > 0 && !reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        if (reader.name() == u"den" && text.size() < kMaxEquationLength)
            text += u'/';
        else if (reader.name() == u"t") {
            const QString part = reader.readElementText(QXmlStreamReader::IncludeChildElements);
            text += part.left(kMaxEquationLength - text.size());
            --depth;
        }
    }
    return text;
}

} // namespace formats::docx
