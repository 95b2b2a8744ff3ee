#include "formats/html/htmlpieces.h"

#include "formats/html/importpreparer.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <utility>

namespace formats {

namespace {

// Blocks a piece may start with. Qt's import knows no section, article and
// the like: white space beside them is text, so no cut comes next to one.
bool startsPiece(const QString& name)
{
    static const QSet<QString> names{QStringLiteral("h1"), QStringLiteral("h2"), QStringLiteral("h3"),
                                     QStringLiteral("h4"), QStringLiteral("h5"), QStringLiteral("h6"),
                                     QStringLiteral("p"),  QStringLiteral("div"), QStringLiteral("ul"),
                                     QStringLiteral("ol"), QStringLiteral("dl"), QStringLiteral("pre"),
                                     QStringLiteral("blockquote")};
    return names.contains(name);
}

// Blocks whose end a cut may follow.
bool endsBlock(const QString& name)
{
    return startsPiece(name) || name == u"table";
}

// Whether `text` holds a start tag `name` (lower-case ASCII letters) in any
// case. Searched for rather than read tag by tag, the file's longest part is
// passed over quickly; one found in a comment or a script only keeps the
// file whole, which is never wrong.
bool holdsStartTag(QStringView text, QStringView name)
{
    const auto sameLetter = [](QChar lower, QChar c) { return c == lower || c.unicode() == lower.unicode() - 0x20; };
    for (qsizetype at = text.indexOf(u'<'); at >= 0; at = text.indexOf(u'<', at + 1)) {
        const QStringView after = text.sliced(at + 1);
        if (after.size() < name.size()
            || !std::equal(name.begin(), name.end(), after.begin(), sameLetter))
            continue;
        if (after.size() == name.size() || !after[name.size()].isLetterOrNumber())
            return true;
    }
    return false;
}

// Elements that only group blocks: open at a cut, they are closed at the end
// of the piece and opened again at the start of the next.
bool isWrapper(const QString& name)
{
    return name == u"div" || name == u"section" || name == u"article" || name == u"main" || name == u"nav"
        || name == u"aside" || name == u"header" || name == u"footer";
}

// Elements without content or end tag.
bool isVoid(const QString& name)
{
    static const QSet<QString> names{QStringLiteral("br"),    QStringLiteral("img"),   QStringLiteral("hr"),
                                     QStringLiteral("meta"),  QStringLiteral("link"),  QStringLiteral("input"),
                                     QStringLiteral("area"),  QStringLiteral("base"),  QStringLiteral("col"),
                                     QStringLiteral("param"), QStringLiteral("wbr"),   QStringLiteral("embed"),
                                     QStringLiteral("source"), QStringLiteral("basefont"), QStringLiteral("frame"),
                                     QStringLiteral("isindex"), QStringLiteral("track")};
    return names.contains(name);
}

// Whether `text` holds a letter: the character a waiting link target is
// given to.
bool holdsLetter(QStringView text)
{
    const QString decoded = text.contains(u'&') ? decodeEntities(text) : text.toString();
    return std::any_of(decoded.cbegin(), decoded.cend(), [](QChar c) { return !c.isSpace(); });
}

// Elements that start a paragraph or a cell of their own.
bool opensBlock(const QString& name)
{
    return endsBlock(name) || name == u"li" || name == u"dt" || name == u"dd" || name == u"td" || name == u"th"
        || name == u"tr" || name == u"caption";
}

// Elements whose content is left out of the document.
bool isLeftOut(const QString& name)
{
    return name == u"script" || name == u"style" || name == u"title";
}

// Whether the start tag names a link target: it goes to the next letter,
// which must be in the same piece.
bool namesTarget(const MarkupToken& token)
{
    for (const MarkupAttribute& attribute : token.attributes) {
        if ((attribute.name == u"id" || (attribute.name == u"name" && token.name == u"a"))
            && !decodeEntities(attribute.value).trimmed().isEmpty())
            return true;
    }
    return false;
}

// Attributes a wrapper may carry and still be reopened: they give it no look
// of its own. An id or a name makes a link target, which stays with the
// first piece.
bool isPlainAttribute(const QString& name)
{
    return name == u"class" || name == u"id" || name == u"name" || name == u"lang" || name == u"xml:lang"
        || name == u"dir" || name == u"title" || name.startsWith(u"data-") || name == u"role";
}

// The start tag again without the attributes that name link targets, each
// other value as written, in quotes it does not hold.
QString withoutTargets(const MarkupToken& token)
{
    QString tag = u'<' + token.name;
    for (const MarkupAttribute& attribute : token.attributes) {
        if (attribute.name == u"id" || (attribute.name == u"name" && token.name == u"a"))
            continue;
        const QChar quote = attribute.value.contains(u'"') ? u'\'' : u'"';
        tag += u' ' + attribute.name + u'=' + quote + attribute.value + quote;
    }
    return tag + u'>';
}

// Whether a style sheet's rules would select otherwise in pieces: selectors
// that look at an element's neighbours, and margins or padding of the body
// or of wrappers, which Qt gives the first and the last block inside them
// (each piece would have its own first and last block).
bool selectsByPlace(QStringView css)
{
    static const QRegularExpression container(
        QStringLiteral("\\b(body|html|div|section|article|main|nav|aside|header|footer)\\b|[*#]"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression classSelector(QStringLiteral("^[A-Za-z0-9]*\\.[A-Za-z_][A-Za-z0-9_-]*$"));
    qsizetype pos = 0;
    while (pos < css.size()) {
        const qsizetype open = css.indexOf(u'{', pos);
        if (open < 0)
            return false;
        const qsizetype close = css.indexOf(u'}', open);
        const qsizetype end = close < 0 ? css.size() : close;
        const QString selectorList = css.sliced(pos, open - pos).toString();
        const QList<QStringView> selectors = QStringView(selectorList).split(u',');
        const QStringView declarations = css.sliced(open, end - open);
        if (selectorList.contains(u'+') || selectorList.contains(u'~') || selectorList.contains(u"-child")
            || selectorList.contains(u"-of-type"))
            return true;
        if ((declarations.contains(u"margin", Qt::CaseInsensitive) || declarations.contains(u"padding", Qt::CaseInsensitive))
            && std::any_of(selectors.cbegin(), selectors.cend(), [&](QStringView selector) {
                   // A wrapper with a class that has rules is never reopened.
                   return !classSelector.match(selector.trimmed()).hasMatch() && selector.contains(container);
               }))
            return true;
        pos = end + 1;
    }
    return false;
}

// A body start tag with margins of its own: Qt gives them to the first and
// the last block.
bool hasMargins(const MarkupToken& body)
{
    for (const MarkupAttribute& attribute : body.attributes) {
        if (attribute.name.contains(u"margin")
            || (attribute.name == u"style"
                && (attribute.value.contains(u"margin", Qt::CaseInsensitive) || attribute.value.contains(u"padding", Qt::CaseInsensitive))))
            return true;
    }
    return false;
}

} // namespace

HtmlPieces::HtmlPieces(QStringView html, qsizetype pieceLength)
    : m_html(html)
    , m_pieceLength(pieceLength)
    , m_reader(html)
{
    survey();
}

// Finds the body's start and whatever makes the file one piece, and gathers
// the class rules that tell a wrapper's look.
void HtmlPieces::survey()
{
    MarkupReader reader(m_html);
    qsizetype bodyContent = -1;
    QString rawElement; // the element the next text is the content of
    // The dialect's element rules describe web pages and never reach the
    // document; only its class rules do.
    const bool dialect = ImportPreparer::isDialect(m_html);
    while (!reader.atEnd()) {
        const MarkupToken token = reader.next();
        const QString within = std::exchange(rawElement, QString());
        const bool start = token.kind == MarkupToken::StartTag;
        if (start && token.name == u"img")
            return;
        const QStringView text = m_html.sliced(token.start, token.length);
        if (token.kind == MarkupToken::Text && within == u"style") {
            if (!dialect && selectsByPlace(text))
                return;
            m_rules.add(text);
        } else if (token.kind == MarkupToken::Text && !isLeftOut(within) && holdsLetter(text)) {
            return; // text before the body would come again in every piece
        }
        if (start && namesTarget(token))
            return; // a link target before the body would come again too
        if (start && !token.selfClosing && isLeftOut(token.name))
            rawElement = token.name;
        if (start && token.name == u"body") {
            if (hasMargins(token))
                return;
            bodyContent = token.start + token.length;
            m_head = m_html.first(token.start).toString() + withoutTargets(token);
            break;
        }
    }
    // In the body only pictures and style sheets make the file one piece.
    if (bodyContent >= 0
        && (holdsStartTag(m_html.sliced(bodyContent), u"img") || holdsStartTag(m_html.sliced(bodyContent), u"style")))
        return;
    m_bodyContent = bodyContent;
}

std::optional<QString> HtmlPieces::next()
{
    if (m_done)
        return std::nullopt;
    if (m_bodyContent < 0) {
        m_done = true;
        return m_html.toString();
    }
    const qsizetype start = m_start;
    QString piece = start == 0 ? QString() : m_head + m_reopen;
    const qsizetype cut = nextCut();
    piece += m_html.sliced(start, cut - start);
    if (cut == m_html.size())
        m_done = true;
    else
        piece += m_closeAtCut + QStringLiteral("</body></html>");
    m_start = cut;
    return piece;
}

// The position of the next cut, the end of the text when there is none. The
// wrappers open at the cut are those before its token, the one that starts
// the next piece.
qsizetype HtmlPieces::nextCut()
{
    const qsizetype pieceStart = m_start;
    while (!m_reader.atEnd() && !m_tooDeep) {
        const qsizetype at = m_reader.position();
        const MarkupToken token = m_reader.next();
        if (at < m_bodyContent)
            continue;
        if (mayCutBefore(token, at, pieceStart)) {
            m_reopen = reopenings();
            m_closeAtCut = closings();
            follow(token);
            return at;
        }
        follow(token);
    }
    return m_html.size();
}

bool HtmlPieces::mayCutBefore(const MarkupToken& token, qsizetype at, qsizetype pieceStart) const
{
    if (token.kind != MarkupToken::StartTag || !startsPiece(token.name) || !m_afterBlock || m_afterTable
        || m_targetWaits || at - pieceStart < m_pieceLength)
        return false;
    for (const OpenElement& element : m_open) {
        if (element.reopened.isEmpty())
            return false;
    }
    return true;
}

// Keeps the open elements and what the last tokens ended.
void HtmlPieces::follow(const MarkupToken& token)
{
    const bool leftOut = m_leftOut;
    m_leftOut = false;
    switch (token.kind) {
    case MarkupToken::StartTag:
        open(token);
        m_afterBlock = false;
        m_afterTable = false;
        if (opensBlock(token.name))
            m_letterInBlock = false;
        m_targetWaits = m_targetWaits || namesTarget(token);
        m_leftOut = !token.selfClosing && isLeftOut(token.name);
        break;
    case MarkupToken::EndTag:
        close(token.name);
        if (!endsBlock(token.name)) {
            m_afterBlock = false;
            m_afterTable = false;
        } else {
            // Qt drops an empty paragraph, but not the last of a document.
            m_afterBlock = m_letterInBlock;
            if (token.name == u"table")
                m_afterTable = true;
            else if (!isWrapper(token.name))
                m_afterTable = false;
        }
        break;
    case MarkupToken::Text:
        if (!leftOut && holdsLetter(m_html.sliced(token.start, token.length))) {
            m_afterBlock = false;
            m_afterTable = false;
            m_targetWaits = false;
            m_letterInBlock = true;
        }
        break;
    case MarkupToken::Other:
        break;
    }
}

void HtmlPieces::open(const MarkupToken& token)
{
    if (token.selfClosing || isVoid(token.name))
        return;
    // The reader refuses a file nested this deep; the rest is one piece, and
    // the open elements are never walked past this depth.
    if (m_open.size() >= size_t(ImportPreparer::kMaxNesting)) {
        m_tooDeep = true;
        return;
    }
    // Paragraphs and items end where the next begins, as in any browser.
    if (token.name == u"p" || token.name == u"li" || token.name == u"dt" || token.name == u"dd") {
        if (!m_open.empty() && m_open.back().name == token.name)
            m_open.pop_back();
    }
    m_open.push_back({token.name, wrapperTag(token)});
}

// An end tag closes its element and everything opened inside it; one that
// closes nothing open is passed over.
void HtmlPieces::close(const QString& name)
{
    for (auto it = m_open.rbegin(); it != m_open.rend(); ++it) {
        if (it->name == name) {
            m_open.erase(std::next(it).base(), m_open.end());
            return;
        }
    }
}

// The start tag that reopens a plain wrapper, empty for any other element.
QString HtmlPieces::wrapperTag(const MarkupToken& token) const
{
    if (!isWrapper(token.name))
        return {};
    for (const MarkupAttribute& attribute : token.attributes) {
        if (!isPlainAttribute(attribute.name)
            || (attribute.name == u"class" && !m_rules.declarationsFor(token.name, attribute.value).isEmpty()))
            return {};
    }
    return withoutTargets(token);
}

QString HtmlPieces::reopenings() const
{
    QString tags;
    for (const OpenElement& element : m_open)
        tags += element.reopened;
    return tags;
}

QString HtmlPieces::closings() const
{
    QString tags;
    for (auto it = m_open.rbegin(); it != m_open.rend(); ++it)
        tags += QStringLiteral("</") + it->name + u'>';
    return tags;
}

} // namespace formats
