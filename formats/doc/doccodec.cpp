#include "formats/doc/doccodec.h"

#include "formats/docx/docxcodec.h"
#include "formats/docx/docxwriter.h"
#include "formats/rtf/rtfcodec.h"

#include <QIODevice>

namespace formats::doc {

namespace {

// LibreOffice's filter names for the two formats.
const QString kWord97 = QStringLiteral("MS Word 97");
const QString kWord2007 = QStringLiteral("MS Word 2007 XML");

// Every Word 97–2003 document is an OLE compound file.
bool isCompoundFile(const QByteArray& bytes)
{
    return bytes.startsWith(QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"));
}

bool isRtf(const QByteArray& bytes)
{
    return bytes.startsWith(QByteArrayLiteral("{\\rtf"));
}

} // namespace

bool DocCodec::refuse(const engine::DocumentSet& target, const QString& why) const
{
    if (target.report)
        target.report->refusal = why;
    return false;
}

bool DocCodec::read(const QByteArray& bytes, const engine::DocumentSet& target)
{
    if (bytes.size() > maxInputBytes())
        return refuse(target, failureMessage(ConversionFailure::TooLarge));
    if (isRtf(bytes))
        return rtf::RtfCodec(styles()).read(bytes, target);
    if (!isCompoundFile(bytes))
        return refuse(target, QStringLiteral("ﾌｧｲﾙが壊れているか､Word 97-2003 の文書ではありません｡"));
    const Conversion docx = m_converter.convert(bytes, QStringLiteral("doc"), kWord97, QStringLiteral("docx"), kWord2007);
    if (!docx.ok())
        return refuse(target, failureMessage(docx.failure));
    return docx::DocxCodec(styles()).read(docx.bytes, target);
}

bool DocCodec::write(const engine::DocumentSet& source, QIODevice& out)
{
    m_writeRefusal.clear();
    const std::optional<QByteArray> package = source.body ? docx::writeDocx(source, styles()) : std::nullopt;
    if (!package)
        return false;
    const Conversion doc = m_converter.convert(*package, QStringLiteral("docx"), kWord2007, QStringLiteral("doc"), kWord97);
    if (!doc.ok()) {
        m_writeRefusal = failureMessage(doc.failure);
        return false;
    }
    return out.write(doc.bytes) == doc.bytes.size();
}

void registerDocCodec(const html::StyleSet& styles)
{
    engine::registerCodec(engine::FormatCode::Doc, std::make_shared<DocCodec>(styles));
}

} // namespace formats::doc
