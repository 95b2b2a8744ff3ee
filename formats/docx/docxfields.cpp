#include "formats/docx/docxfields.h"

#include "formats/html/fielddata.h"

#include <QStringList>
#include <algorithm>

namespace formats::docx {

namespace {

// An instruction's words; quoted ones are kept whole, without their quotes.
QStringList instructionWords(const QString& instruction)
{
    QStringList words;
    QString word;
    bool quoted = false;
    for (const QChar c : instruction) {
        if (c == u'"') {
            if (quoted)
                words << word;
            else if (!word.isEmpty())
                words << word;
            word.clear();
            quoted = !quoted;
        } else if (c.isSpace() && !quoted) {
            if (!word.isEmpty())
                words << word;
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

// Switches of HYPERLINK that take the word after them.
bool takesArgument(const QString& word)
{
    return word.compare(u"\\l", Qt::CaseInsensitive) == 0 || word.compare(u"\\o", Qt::CaseInsensitive) == 0
        || word.compare(u"\\t", Qt::CaseInsensitive) == 0;
}

constexpr qsizetype kMaxInstructionLength = 4096;

} // namespace

QString hyperlinkOfInstruction(const QString& instruction)
{
    const QStringList words = instructionWords(instruction);
    if (words.isEmpty() || words.front().compare(u"HYPERLINK", Qt::CaseInsensitive) != 0)
        return {};
    QString address;
    QString bookmark;
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString& word = words[i];
        if (takesArgument(word)) {
            if (word.compare(u"\\l", Qt::CaseInsensitive) == 0)
                bookmark = words.value(i + 1);
            ++i;
        } else if (!word.startsWith(u'\\') && address.isEmpty()) {
            address = word;
        }
    }
    if (address.isEmpty() && bookmark.isEmpty())
        return {};
    return fieldDataForAddress(bookmark.isEmpty() ? address : address + u'#' + bookmark);
}

void ComplexFields::begin()
{
    if (m_beyondLimit > 0 || m_open.size() >= size_t(kMaxFieldNesting))
        ++m_beyondLimit;
    else
        m_open.push_back({});
}

QString ComplexFields::separate()
{
    if (m_beyondLimit > 0 || m_open.empty())
        return {};
    m_open.back().inResult = true;
    return m_open.back().instruction;
}

void ComplexFields::end()
{
    if (m_beyondLimit > 0)
        --m_beyondLimit;
    else if (!m_open.empty())
        m_open.pop_back();
}

void ComplexFields::addInstruction(const QString& text)
{
    if (m_beyondLimit > 0 || m_open.empty() || m_open.back().inResult)
        return;
    QString& instruction = m_open.back().instruction;
    instruction += text.left(kMaxInstructionLength - instruction.size());
}

void ComplexFields::setResultFormat(const QTextCharFormat& format)
{
    if (m_beyondLimit == 0 && !m_open.empty())
        m_open.back().format = format;
}

bool ComplexFields::hidesContent() const
{
    return std::any_of(m_open.begin(), m_open.end(), [](const Field& field) { return !field.inResult; });
}

QTextCharFormat ComplexFields::resultFormat() const
{
    for (auto it = m_open.crbegin(); it != m_open.crend(); ++it) {
        if (it->format.isValid() && !it->format.properties().isEmpty())
            return it->format;
    }
    return {};
}

} // namespace formats::docx
