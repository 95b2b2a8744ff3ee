#include "editor/documentkinds.h"

#include <QFileInfo>
#include <algorithm>
#include <array>

namespace editor::documentkinds {

namespace {

using engine::FormatCode;

constexpr std::array<DocumentKind, 6> kKinds{{
    {u"doc", FormatCode::Doc, u"ﾜｰﾄﾞ文書 97-2003", true},
    {u"docx", FormatCode::Docx, u"ﾜｰﾄﾞ文書", true},
    {u"rtf", FormatCode::Rtf, u"ﾘｯﾁﾃｷｽﾄ", true},
    {u"htm", FormatCode::Html, u"HTML Document", true},
    {u"pdf", FormatCode::Pdf, u"ｱｸﾛﾊﾞｯﾄPDF", false},
    {u"txt", FormatCode::PlainText, u"ﾃｷｽﾄﾌｧｲﾙ", true},
}};

QString patternsOf(QStringView extension)
{
    const QString pattern = QStringLiteral("*.") + extension.toString();
    return extension == u"htm" ? pattern + QStringLiteral(" *.html") : pattern;
}

} // namespace

QString extensionOf(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return {};
    const QString extension = name.mid(dot + 1).toLower();
    return extension == u"html" ? QStringLiteral("htm") : extension;
}

const DocumentKind* kindOf(QStringView extension)
{
    const auto found = std::find_if(kKinds.begin(), kKinds.end(),
                                    [extension](const DocumentKind& kind) { return kind.extension == extension; });
    return found == kKinds.end() ? nullptr : &*found;
}

QStringList dialogFilters(std::initializer_list<QStringView> extensions, QStringView htmlCaption)
{
    QStringList filters;
    for (QStringView extension : extensions) {
        const DocumentKind* kind = kindOf(extension);
        const bool ownCaption = extension == u"htm" && !htmlCaption.isEmpty();
        const QStringView caption = ownCaption ? htmlCaption : kind->caption;
        filters << caption.toString() + QStringLiteral(" (") + patternsOf(extension) + u')';
    }
    return filters;
}

} // namespace editor::documentkinds
