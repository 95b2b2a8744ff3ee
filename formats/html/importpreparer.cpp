#include "formats/html/importpreparer.h"

#include "formats/html/fielddata.h"

#include <QSet>

#include <array>

namespace formats {

namespace {

const QString kDialectDoctype = QStringLiteral("<!DOCTYPE html PUBLIC '-//W3C//DTD HTML 4.01 Transitional//EN'");
constexpr char16_t kIdeographicSpace = 0x3000;
constexpr char16_t kPrivateUseFirst = 0xE000;
constexpr char16_t kPrivateUseLast = 0xF8FF;

bool isVoid(const QString& name)
{
    static const QSet<QString> names = {
        QStringLiteral("area"),  QStringLiteral("base"),     QStringLiteral("basefont"), QStringLiteral("br"),
        QStringLiteral("col"),   QStringLiteral("embed"),    QStringLiteral("frame"),    QStringLiteral("hr"),
        QStringLiteral("img"),   QStringLiteral("input"),    QStringLiteral("isindex"),  QStringLiteral("link"),
        QStringLiteral("meta"),  QStringLiteral("param"),    QStringLiteral("source"),   QStringLiteral("track"),
        QStringLiteral("wbr"),
    };
    return names.contains(name);
}

bool isParagraph(const QString& name)
{
    static const QSet<QString> names = {
        QStringLiteral("p"),  QStringLiteral("div"), QStringLiteral("h1"), QStringLiteral("h2"),
        QStringLiteral("h3"), QStringLiteral("h4"),  QStringLiteral("h5"), QStringLiteral("h6"),
        QStringLiteral("li"), QStringLiteral("blockquote"), QStringLiteral("pre"), QStringLiteral("dt"),
        QStringLiteral("dd"), QStringLiteral("center"), QStringLiteral("address"),
    };
    return names.contains(name);
}

// h1/h3/h5 are the dialect's three heading styles; h2, h4 and h6 of other
// files count with the heading above them.
int headingLevel(const QString& name)
{
    if (name.size() != 2 || name[0] != u'h' || name[1] < u'1' || name[1] > u'6')
        return 0;
    return (name[1].unicode() - u'1') / 2 + 1;
}

bool isDialectHeading(const QString& name)
{
    return name == u"h1" || name == u"h3" || name == u"h5";
}

// Private-use characters the text does not hold.
std::array<QChar, 3> unusedPrivateUseCharacters(QStringView text)
{
    std::vector<bool> used(kPrivateUseLast - kPrivateUseFirst + 1);
    for (const QChar c : text) {
        if (c.unicode() >= kPrivateUseFirst && c.unicode() <= kPrivateUseLast)
            used[c.unicode() - kPrivateUseFirst] = true;
    }
    std::array<QChar, 3> free;
    size_t found = 0;
    for (size_t i = 0; i < used.size() && found < free.size(); ++i) {
        if (!used[i])
            free[found++] = QChar(char16_t(kPrivateUseFirst + i));
    }
    for (; found < free.size(); ++found)
        free[found] = QChar(char16_t(kPrivateUseFirst + found));
    return free;
}

QString hiddenIdeographicSpaces(QString text, QChar placeholder)
{
    text.replace(QChar(kIdeographicSpace), placeholder);
    if (text.contains(u'&')) {
        text.replace(QStringLiteral("&#12288;"), placeholder);
        text.replace(QStringLiteral("&#x3000;"), placeholder, Qt::CaseInsensitive);
    }
    return text;
}

// The dialect's writer puts a line break and indentation between elements;
// they are no part of the text.
QString withoutLineLayout(QStringView text)
{
    QString out;
    out.reserve(text.size());
    bool inBreak = false;
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n')
            inBreak = true;
        else if (!(inBreak && c == u' ')) {
            inBreak = false;
            out += c;
        }
    }
    return out;
}

std::optional<int> positiveNumber(const MarkupAttribute* attribute)
{
    if (!attribute)
        return std::nullopt;
    bool ok = false;
    const int value = attribute->value.trimmed().toInt(&ok);
    return ok && value > 0 ? std::optional<int>(value) : std::nullopt;
}

// An ordered list's start attribute; 0 when it counts from 1 as usual.
int listStart(const MarkupToken& list)
{
    const std::optional<int> start = positiveNumber(list.attribute(u"start"));
    return start && *start > 1 ? *start : 0;
}

// The writer marks the one-cell table that stands for a text frame so.
bool isTextFrameTable(const MarkupToken& table)
{
    const MarkupAttribute* frame = table.attribute(u"frame");
    const MarkupAttribute* rules = table.attribute(u"rules");
    return frame && rules && frame->value.compare(u"box", Qt::CaseInsensitive) == 0
        && rules->value.compare(u"none", Qt::CaseInsensitive) == 0;
}

// Where the innermost open `targets` element is, unless a `boundaries`
// element is opened after it: a new list item ends the previous one of its
// list. -1 when nothing is ended.
qsizetype impliedEnd(const QStringList& open, std::initializer_list<QStringView> targets,
                     std::initializer_list<QStringView> boundaries)
{
    for (qsizetype k = open.size() - 1; k >= 0; --k) {
        const QString& name = open.at(k);
        if (std::find(targets.begin(), targets.end(), name) != targets.end())
            return k;
        if (std::find(boundaries.begin(), boundaries.end(), name) != boundaries.end())
            return -1;
    }
    return -1;
}

// Qt's parser takes a "<" for a tag wherever it starts one, also where the
// scanner saw text ("< b>", "<&#105;mg", the content of a textarea); text
// must reach it as text, or Qt would nest and load what nothing counted.
QString asText(QString text)
{
    return text.contains(u'<') ? text.replace(u'<', QStringLiteral("&lt;")) : text;
}

} // namespace

ImportPreparer::ImportPreparer(QString html)
    : m_html(std::move(html))
{
}

std::optional<QString> ImportPreparer::prepare()
{
    m_tokens = scanMarkup(m_html);
    m_dropped.assign(m_tokens.size(), false);
    m_notes.dialect = isDialect(m_html);
    const std::array<QChar, 3> unused = unusedPrivateUseCharacters(m_html);
    m_notes.spacePlaceholder = unused[0];
    m_notes.emptyParagraph = unused[1];
    m_notes.anchorMarker = unused[2];
    collectStyleSheets();
    matchSpans();
    m_out.reserve(m_html.size() + m_html.size() / 4);
    for (size_t i = 0; i < m_tokens.size(); ++i) {
        const MarkupToken& token = m_tokens[i];
        if (m_dropped[i])
            continue;
        if (!m_skipUntil.isEmpty()) {
            if (token.kind == MarkupToken::EndTag && token.name == m_skipUntil)
                m_skipUntil.clear();
            continue;
        }
        switch (token.kind) {
        case MarkupToken::Text: handleText(token); break;
        case MarkupToken::StartTag:
            if (!handleStartTag(i))
                return std::nullopt;
            break;
        case MarkupToken::EndTag: handleEndTag(token); break;
        case MarkupToken::Other: break;
        }
    }
    return std::exchange(m_out, QString());
}

QStringView ImportPreparer::raw(const MarkupToken& token) const
{
    return QStringView(m_html).sliced(token.start, token.length);
}

void ImportPreparer::collectStyleSheets()
{
    bool inHead = true; // Qt applies a style sheet to what follows it only
    bool allInHead = true;
    for (size_t i = 0; i + 1 < m_tokens.size(); ++i) {
        const MarkupToken& token = m_tokens[i];
        const bool root = token.kind == MarkupToken::StartTag && (token.name == u"body" || token.name == u"html");
        // Class rules would reach the body and the root as well.
        allInHead = allInHead && !(root && token.attribute(u"class"));
        inHead = inHead && !(token.kind == MarkupToken::StartTag && token.name == u"body");
        if (token.kind == MarkupToken::StartTag && token.name == u"style" && m_tokens[i + 1].kind == MarkupToken::Text) {
            m_rules.add(raw(m_tokens[i + 1]));
            // A sheet for print only is not for the screen Qt reads for.
            allInHead = allInHead && inHead && !token.attribute(u"media");
        }
    }
    m_cascadeHere = !m_notes.dialect && allInHead && !inHead && m_rules.cascades();
}

void ImportPreparer::matchSpans()
{
    m_spanEnd.assign(m_tokens.size(), 0);
    std::vector<size_t> open;
    for (size_t i = 0; i < m_tokens.size(); ++i) {
        const MarkupToken& token = m_tokens[i];
        if (token.name != u"span")
            continue;
        if (token.kind == MarkupToken::StartTag && !token.selfClosing) {
            open.push_back(i);
        } else if (token.kind == MarkupToken::EndTag && !open.empty()) {
            m_spanEnd[open.back()] = i;
            open.pop_back();
        }
    }
}

void ImportPreparer::handleText(const MarkupToken& token)
{
    if (isFormattingSpace(token))
        return;
    QString text = asText(m_notes.dialect ? withoutLineLayout(raw(token)) : raw(token).toString());
    if (!m_targets.isEmpty()) {
        const auto letter = std::find_if(text.cbegin(), text.cend(), [](QChar c) { return !c.isSpace(); });
        if (letter != text.cend())
            text.insert(letter - text.cbegin(), takeTargets());
    }
    m_out += hiddenIdeographicSpaces(text, m_notes.spacePlaceholder);
}

bool ImportPreparer::handleStartTag(size_t index)
{
    const MarkupToken& token = m_tokens[index];
    const QString& name = token.name;
    const bool hasContent = !token.selfClosing && !isVoid(name);
    if (name == u"title") {
        if (index + 1 < m_tokens.size() && m_tokens[index + 1].kind == MarkupToken::Text && m_notes.title.isEmpty())
            m_notes.title = decodeEntities(raw(m_tokens[index + 1]).trimmed());
        if (hasContent)
            m_skipUntil = name;
        return true;
    }
    if (name == u"script" || (name == u"style" && (m_notes.dialect || m_cascadeHere))) {
        if (hasContent)
            m_skipUntil = name;
        return true;
    }
    if (name == u"base") {
        if (const MarkupAttribute* href = token.attribute(u"href"); href && m_notes.baseAddress.isEmpty())
            m_notes.baseAddress = decodeEntities(href->value).trimmed();
        return true;
    }
    if (name == u"meta" || name == u"link")
        return true;
    if (name == u"a" && isEmptyTarget(index)) {
        const MarkupAttribute* target = token.attribute(u"name");
        addTarget((target ? target : token.attribute(u"id"))->value);
        m_dropped[index + 1] = true;
        return true;
    }
    if (!countTablePart(name) || (hasContent && !openElement(name)))
        return false;
    if (name == u"ol" || name == u"ul")
        m_listStart = name == u"ol" ? listStart(token) : 0;
    else if (name == u"table")
        m_textFrameNext = m_notes.dialect && isTextFrameTable(token);
    QString style = elementStyle(token);
    const bool empty = isParagraph(name) && holdsOnlyLineBreak(index);
    if (isParagraph(name))
        style = paragraphStyle(index, style);
    if (name == u"img")
        m_out += takeTargets();
    m_out += rewrittenStartTag(index, style);
    // An element's id is the other way in-page links name their targets.
    if (const MarkupAttribute* target = token.attribute(u"name"); target && name == u"a")
        addTarget(target->value);
    if (const MarkupAttribute* id = token.attribute(u"id"))
        addTarget(id->value);
    if (empty) {
        // The writer's mark of an empty paragraph. Qt's import drops empty
        // paragraphs and their formats; a character in it keeps both and is
        // taken out afterwards.
        m_dropped[nextMeaningful(index)] = true;
        m_out += m_notes.emptyParagraph;
    }
    return true;
}

void ImportPreparer::handleEndTag(const MarkupToken& token)
{
    closeElement(token.name);
    m_out += QStringLiteral("</") + outputName(token.name) + u'>';
}

bool ImportPreparer::isDialect(QStringView html)
{
    return html.trimmed().startsWith(kDialectDoctype);
}

QString ImportPreparer::elementStyle(const MarkupToken& token) const
{
    QString style;
    if (m_notes.dialect && token.name == u"body")
        style = QStringLiteral("white-space:pre-wrap;");
    else if (m_notes.dialect && token.name == u"a")
        style = QStringLiteral("text-decoration:none;");
    const MarkupAttribute* classes = token.attribute(u"class");
    const QString classNames = classes ? decodeEntities(classes->value) : QString();
    // Before the element's own declarations, which win over the sheet's.
    if (m_cascadeHere)
        css::appendDeclarations(style, m_rules.cascadeFor(outputName(token.name), classNames));
    if (classes)
        css::appendDeclarations(style, m_rules.declarationsFor(token.name, classNames));
    if (const MarkupAttribute* inlineStyle = token.attribute(u"style"))
        css::appendDeclarations(style, decodeEntities(inlineStyle->value));
    return style;
}

QString ImportPreparer::paragraphStyle(size_t index, const QString& style)
{
    const MarkupToken& token = m_tokens[index];
    QString declarations = style;
    if (m_notes.dialect) {
        const size_t next = nextMeaningful(index);
        if (token.name == u"div" && shadedSpanAt(index, next)) {
            css::appendDeclarations(declarations, elementStyle(m_tokens[next]));
            m_dropped[next] = true;
            m_dropped[m_spanEnd[next]] = true;
        }
    }
    m_notes.paragraphs.push_back({css::parseDeclarations(declarations), headingLevel(token.name),
                                  token.name == u"li" ? std::exchange(m_listStart, 0) : 0,
                                  std::exchange(m_textFrameNext, false)});
    css::appendDeclarations(declarations, QStringLiteral("-qt-user-state:%1;").arg(m_notes.paragraphs.size() - 1));
    return declarations;
}

bool ImportPreparer::shadedSpanAt(size_t divIndex, size_t spanIndex) const
{
    if (spanIndex >= m_tokens.size() || m_tokens[spanIndex].kind != MarkupToken::StartTag
        || m_tokens[spanIndex].name != u"span" || m_spanEnd[spanIndex] == 0)
        return false;
    const size_t after = nextMeaningful(m_spanEnd[spanIndex]);
    if (after >= m_tokens.size() || m_tokens[after].kind != MarkupToken::EndTag
        || m_tokens[after].name != m_tokens[divIndex].name)
        return false;
    // The writer moves the paragraph's font size into the span with the
    // shading; a highlighted run carries a size only when it differs.
    const QList<css::Declaration> declarations = css::parseDeclarations(elementStyle(m_tokens[spanIndex]));
    return css::lastValue(declarations, u"background-color") && css::lastValue(declarations, u"font-size");
}

// An anchor without content that only names a link target.
bool ImportPreparer::isEmptyTarget(size_t index) const
{
    const MarkupToken& token = m_tokens[index];
    const MarkupAttribute* name = token.attribute(u"name");
    const MarkupAttribute* id = token.attribute(u"id");
    return !token.attribute(u"href") && ((name && !name->value.isEmpty()) || (id && !id->value.isEmpty()))
        && index + 1 < m_tokens.size() && m_tokens[index + 1].kind == MarkupToken::EndTag && m_tokens[index + 1].name == u"a";
}

void ImportPreparer::addTarget(const QString& name)
{
    const QString target = decodeEntities(name).trimmed();
    if (!target.isEmpty())
        m_targets.append(target);
}

// The link targets met since the last text, as a marker for the letter that
// follows; put where they were met, before a block's markup, they would land
// on white space of the paragraph before. The finisher makes the letter the
// target: Qt's own <a name> import costs time quadratic in their number.
QString ImportPreparer::takeTargets()
{
    if (m_targets.isEmpty())
        return {};
    m_notes.anchors.push_back(m_targets);
    m_targets.clear();
    return QString(m_notes.anchorMarker);
}

bool ImportPreparer::holdsOnlyLineBreak(size_t paragraphIndex) const
{
    if (!m_notes.dialect)
        return false;
    const size_t next = nextMeaningful(paragraphIndex);
    if (next >= m_tokens.size() || m_tokens[next].kind != MarkupToken::StartTag || m_tokens[next].name != u"br")
        return false;
    const size_t after = nextMeaningful(next);
    return after < m_tokens.size() && m_tokens[after].kind == MarkupToken::EndTag
        && m_tokens[after].name == m_tokens[paragraphIndex].name;
}

size_t ImportPreparer::nextMeaningful(size_t index) const
{
    size_t next = index + 1;
    while (next < m_tokens.size()
           && (m_dropped[next] || m_tokens[next].kind == MarkupToken::Other || isFormattingSpace(m_tokens[next])))
        ++next;
    return next;
}

bool ImportPreparer::isFormattingSpace(const MarkupToken& token) const
{
    if (!m_notes.dialect || token.kind != MarkupToken::Text)
        return false;
    // The dialect lays its markup out in lines; spaces without a line break
    // are the text's own, as between two links.
    const QStringView text = raw(token);
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' ' || c == u'\r' || c == u'\n'; })
        && std::any_of(text.begin(), text.end(), [](QChar c) { return c == u'\r' || c == u'\n'; });
}

QString ImportPreparer::rewrittenStartTag(size_t index, QString style)
{
    const MarkupToken& token = m_tokens[index];
    QList<MarkupAttribute> attributes = token.attributes;
    for (MarkupAttribute& a : attributes) {
        if (token.name == u"a" && a.name == u"href" && !a.value.isEmpty()) {
            m_notes.links.push_back(fieldDataForAddress(decodeEntities(a.value).trimmed()));
            a.value = kLinkMarker.toString() + QString::number(m_notes.links.size() - 1);
        } else if (token.name == u"span" && a.name == u"title" && !a.value.isEmpty()) {
            m_notes.tips.push_back(decodeEntities(a.value));
            a.value = kTipMarker.toString() + QString::number(m_notes.tips.size() - 1);
        }
    }
    if (token.name == u"img")
        notePicture(token, attributes);
    QString out = u'<' + outputName(token.name);
    for (const MarkupAttribute& a : std::as_const(attributes)) {
        // Link targets are put before their letter (takeTargets); Qt's
        // import would put an id on whatever white space follows the tag.
        if (a.name == u"style" || a.name == u"id" || a.name.isEmpty() || (token.name == u"a" && a.name == u"name"))
            continue;
        out += u' ' + a.name + QStringLiteral("=\"") + QString(a.value).replace(u'"', QStringLiteral("&quot;")) + u'"';
    }
    if (!style.isEmpty())
        out += QStringLiteral(" style=\"") + attributeText(style) + u'"';
    // An element without content is closed in the tag, since Qt's parser
    // knows fewer of them than the nesting count.
    return out + (token.selfClosing || isVoid(token.name) ? QStringLiteral(" />") : QStringLiteral(">"));
}

void ImportPreparer::notePicture(const MarkupToken& token, QList<MarkupAttribute>& attributes)
{
    PictureNote note;
    if (const MarkupAttribute* source = token.attribute(u"src"))
        note.address = decodeEntities(source->value).trimmed();
    if (const MarkupAttribute* alt = token.attribute(u"alt"))
        note.alt = decodeEntities(alt->value).simplified();
    if (const MarkupAttribute* align = token.attribute(u"align")) {
        if (align->value.compare(u"left", Qt::CaseInsensitive) == 0)
            note.placement = engine::PictureFloatLeft;
        else if (align->value.compare(u"right", Qt::CaseInsensitive) == 0)
            note.placement = engine::PictureFloatRight;
    }
    note.width = positiveNumber(token.attribute(u"width"));
    note.height = positiveNumber(token.attribute(u"height"));
    m_notes.pictures.push_back(note);
    const QString marker = kPictureMarker.toString() + QString::number(m_notes.pictures.size() - 1);
    attributes.removeIf([](const MarkupAttribute& a) { return a.name == u"src" || a.name == u"align"; });
    attributes.prepend({QStringLiteral("src"), marker});
}

bool ImportPreparer::openElement(const QString& name)
{
    if (name == u"li")
        endOpenFrom(impliedEnd(m_open, {u"li"}, {u"ul", u"ol"}));
    else if (name == u"td" || name == u"th")
        endOpenFrom(impliedEnd(m_open, {u"td", u"th"}, {u"tr", u"table"}));
    else if (name == u"tr")
        endOpenFrom(impliedEnd(m_open, {u"tr"}, {u"table"}));
    else if (name == u"dt" || name == u"dd")
        endOpenFrom(impliedEnd(m_open, {u"dt", u"dd"}, {u"dl"}));
    else if ((name == u"p" || name == u"option") && !m_open.isEmpty() && m_open.last() == name)
        endOpenFrom(m_open.size() - 1);
    m_open.append(name);
    if (m_open.size() <= kMaxNesting)
        return true;
    m_refusal = Refusal::TooDeep;
    return false;
}

bool ImportPreparer::countTablePart(const QString& name)
{
    if (name == u"td" || name == u"th")
        ++m_cells;
    else if (name == u"tr")
        ++m_rows;
    else
        return true;
    if (m_cells <= kMaxTableCells && m_rows <= kMaxTableCells)
        return true;
    m_refusal = Refusal::TooManyCells;
    return false;
}

// Ends the open elements from `index` on with end tags of their own: Qt's
// parser does not end them all by implication as the nesting count does.
void ImportPreparer::endOpenFrom(qsizetype index)
{
    if (index < 0)
        return;
    for (qsizetype k = m_open.size() - 1; k >= index; --k)
        m_out += QStringLiteral("</") + outputName(m_open.at(k)) + u'>';
    m_open.resize(index);
}

void ImportPreparer::closeElement(const QString& name)
{
    const qsizetype at = m_open.lastIndexOf(name);
    if (at >= 0)
        m_open.resize(at);
}

QString ImportPreparer::outputName(const QString& name) const
{
    return m_notes.dialect && isDialectHeading(name) ? QStringLiteral("div") : name;
}

} // namespace formats
