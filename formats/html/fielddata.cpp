#include "formats/html/fielddata.h"

#include "engine/hostunits.h"
#include "html/links.h"

#include <QRegularExpression>

namespace formats {

namespace {

// Field colours as the editor keeps them (0x00BBGGRR).
constexpr int kTagColour = 0x808000;
constexpr int kToolTipColour = 0x404080;
constexpr int kLinkColour = 0xFF8080;

bool startsWithPrefix(const QString& text, QStringView prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

bool hasScheme(const QString& href)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(href).hasMatch();
}

bool isAbsolutePath(const QString& href)
{
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:[/\\\\]"));
    return href.startsWith(u'/') || drive.match(href).hasMatch();
}

// The writer turns the tag "TG_<prefix>_<name>" into html::HsFName(name): a
// bare document file name. The tag data given back writes the same name.
std::optional<QString> tagForDocumentName(const QString& href)
{
    if (href.isEmpty() || href.contains(u'/') || href.contains(u'\\') || href.contains(u'#') || hasScheme(href)
        || !(href.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive)
             || href.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive)))
        return std::nullopt;
    const QString stem = href.left(href.lastIndexOf(u'.'));
    if (!stem.contains(u'_') && html::HsFName(stem) == href)
        return QStringLiteral("TG_") + stem;
    // An empty prefix: the writer takes the whole text after the first "_".
    return QStringLiteral("TG__") + href;
}

} // namespace

FieldKind fieldKind(const QString& data)
{
    if (startsWithPrefix(data, u"TG_"))
        return FieldKind::Tag;
    if (startsWithPrefix(data, u"TP_"))
        return FieldKind::ToolTip;
    if (startsWithPrefix(data, u"DX_"))
        return FieldKind::Reference;
    return FieldKind::Link;
}

QString fieldAddress(const QString& data)
{
    return fieldKind(data) == FieldKind::Link ? data : u'#' + data;
}

QString fieldDataForAddress(const QString& href)
{
    // The writer resolves "#DX_…" like a file link against the document's
    // folder; the part after "#" still names the field.
    const qsizetype hash = href.indexOf(u'#');
    if (hash >= 0 && fieldKind(href.mid(hash + 1)) != FieldKind::Link)
        return href.mid(hash + 1);
    if (const std::optional<QString> tag = tagForDocumentName(href))
        return *tag;
    if (isAbsolutePath(href))
        return QStringLiteral("file:///") + (href.startsWith(u'/') ? href.mid(1) : href);
    return href;
}

QColor fieldColour(const QString& data)
{
    switch (fieldKind(data)) {
    case FieldKind::Tag: return engine::colorFromHost(kTagColour);
    case FieldKind::ToolTip: return engine::colorFromHost(kToolTipColour);
    default: return engine::colorFromHost(kLinkColour);
    }
}

} // namespace formats
