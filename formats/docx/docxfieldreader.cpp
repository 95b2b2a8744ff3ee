// The parts of the body reader for what the program writes of its own into
// Word documents and reads back exactly: its fields as content controls,
// and ruby as a tool tip holding the reading.

#include "formats/docx/docxbody.h"

#include "engine/fieldformat.h"
#include "formats/word/wordmapping.h"
#include "formats/docx/xmlnames.h"

#include <QRegularExpression>

namespace formats::docx {

namespace {

constexpr int kLinkFieldKind = 1;

struct ProgramField {
    int kind;
    int attribute;
    QString data;
};

// A content control's tag as the writer makes it: "Fumi:" kind ":"
// attribute ":" data, "%" and control characters as %XX.
std::optional<ProgramField> programFieldOf(const QString& tag)
{
    static const QRegularExpression form(QStringLiteral("^Fumi:(\\d{1,9}):(\\d{1,9}):(.*)$"),
                                         QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = form.match(tag);
    if (!m.hasMatch())
        return std::nullopt;
    return ProgramField{m.capturedView(1).toInt(), m.capturedView(2).toInt(),
                        QString::fromUtf8(QByteArray::fromPercentEncoding(m.captured(3).toUtf8()))};
}

} // namespace

QTextCharFormat BodyReader::fieldFormat(const QString& data, int kind, int attribute)
{
    QTextCharFormat field;
    field.setProperty(engine::FieldId, m_context.nextFieldId++);
    field.setProperty(engine::FieldData, data);
    field.setProperty(engine::FieldKind, kind);
    field.setProperty(engine::FieldAttribute, attribute);
    return field;
}

// An inline content control: the program's own field when its tag says so,
// else just its content.
void BodyReader::readContentControl(int depth, const QTextCharFormat& base, const QTextCharFormat& link)
{
    QTextCharFormat inner = link;
    bool programField = false;
    while (m_reader.readNextStartElement()) {
        const QStringView name = m_reader.name();
        if (name == u"sdtPr") {
            while (m_reader.readNextStartElement()) {
                if (m_reader.name() == u"tag") {
                    if (const std::optional<ProgramField> field = programFieldOf(attribute(m_reader, u"val"))) {
                        inner = fieldFormat(field->data, field->kind, field->attribute);
                        programField = true;
                    }
                }
                m_reader.skipCurrentElement();
            }
        } else if (name == u"sdtContent") {
            const bool outer = m_inProgramField;
            m_inProgramField = outer || programField;
            while (m_reader.readNextStartElement())
                readParagraphChild(depth + 1, base, inner);
            m_inProgramField = outer;
        } else {
            m_reader.skipCurrentElement();
        }
    }
}

// w:ruby: the base text, in a tool-tip field whose tip is the reading.
void BodyReader::readRuby(int depth, const QTextCharFormat& base, const QTextCharFormat& link)
{
    QString reading;
    while (m_reader.readNextStartElement()) {
        const QStringView name = m_reader.name();
        if (name == u"rt") {
            reading = m_reader.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (name == u"rubyBase") {
            const QTextCharFormat ruby = fieldFormat(QStringLiteral("TP_") + reading, kLinkFieldKind, word::kRubyFieldAttribute);
            while (m_reader.readNextStartElement()) {
                if (m_reader.name() == u"r")
                    readRun(depth + 1, base, link.hasProperty(engine::FieldId) ? link : ruby);
                else
                    m_reader.skipCurrentElement();
            }
        } else {
            m_reader.skipCurrentElement();
        }
    }
}

} // namespace formats::docx
