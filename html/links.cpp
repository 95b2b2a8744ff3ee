#include "html/links.h"

#include "env/mclt.h"
#include "env/textcompare.h"

#include <QRegularExpression>

namespace html {

namespace {

// The local path of a file address: "file:///C:/x" gives "C:/x" and
// "file:///home/x" gives "/home/x"; the first "file:///" found is the one
// taken off.
QString withoutFileScheme(const QString& address)
{
    qsizetype length = 0;
    const qsizetype at = env::textIndexOf(address, u"file:///", 0, &length);
    if (at < 0)
        return address;
    QString path = address;
    path.remove(at, length - 1);
    static const QRegularExpression drive(QStringLiteral("^/[A-Za-z]:"));
    if (drive.match(path.mid(at)).hasMatch())
        path.remove(at, 1);
    return path;
}

// Addresses with a scheme of their own (http:, https:, mailto:, ftp: ...)
// other than file: — a one-letter "scheme" is a drive letter.
bool isWebAddress(const QString& attributes, const QString& href)
{
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]+):"));
    const QRegularExpressionMatch m = scheme.match(href);
    return env::textContains(attributes, u"http://")
        || (m.hasMatch() && !env::textEquals(m.captured(1), u"file"));
}

QString tagTarget(const QString& href)
{
    QString name = href.mid(4);
    const qsizetype underscore = name.indexOf(u'_');
    if (underscore >= 0)
        name = name.mid(underscore + 1);
    return HsFName(name);
}

} // namespace

QString HsFName(const QString& number)
{
    QString name = mClt::trimSpaces(number);
    if (name.size() < 3)
        name = name.rightJustified(3, u'0');
    if (!name.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive)
        && !name.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive))
        name += QStringLiteral(".htm");
    return name;
}

QString RelLink(const QString& base, const QString& address)
{
    const bool wasFileAddress = env::textContains(address, u"file:///");
    QString path = withoutFileScheme(address);
    if (base.isEmpty() || wasFileAddress)
        return path;
    QString folder = withoutFileScheme(base);
    mClt::CutTail(folder, QStringLiteral("/"));
    while (path.startsWith(QStringLiteral("../"))) {
        path.remove(0, 3);
        const qsizetype slash = folder.lastIndexOf(u'/');
        if (slash >= 0)
            folder.truncate(slash);
    }
    return folder + u'/' + path;
}

QString LinkAttributes(const QString& attributes, const QString& base)
{
    if (env::textContains(attributes, u"#TP_") || !env::textContains(attributes, u"href=\""))
        return attributes;
    const QString href = mClt::sBetween(attributes, u"href=\"", u"\"");
    if (isWebAddress(attributes, href))
        return attributes;
    if (env::textStartsWith(href, u"#TG_"))
        return QStringLiteral("href=\"") + tagTarget(href) + u'"';
    // An in-page, relative or absolute address stays as written: resolved
    // against the base it would name the folder the file was saved in, and
    // break as soon as the file moves.
    if (!env::textContains(href, u"file:///"))
        return QStringLiteral("href=\"") + href + u'"';
    return QStringLiteral("href=\"") + RelLink(base, href) + u'"';
}

} // namespace html
