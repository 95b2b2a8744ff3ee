#include "engine/fields.h"

#include "engine/documentwalk.h"
#include "engine/fieldformat.h"

#include <QHash>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace engine {

namespace {

constexpr int kFieldProperties[] = {FieldId, FieldData, FieldKind, FieldAttribute};

QString singleParagraph(QString text)
{
    text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    text.replace(u'\r', QChar::LineSeparator);
    text.replace(u'\n', QChar::LineSeparator);
    return text;
}

} // namespace

Fields::Fields(QTextDocument& document)
    : m_document(document)
{
}

const QList<FieldRun>& Fields::runs() const
{
    return FieldRunCache::of(m_document).runs();
}

std::optional<FieldRun> Fields::find(int id) const
{
    if (id <= 0)
        return std::nullopt;
    const QList<FieldRun>& all = runs();
    const auto found = std::find_if(all.begin(), all.end(), [id](const FieldRun& r) { return r.id == id; });
    return found == all.end() ? std::nullopt : std::optional<FieldRun>(*found);
}

int Fields::at(int position) const
{
    const int after = idOfCharacter(position);
    return after > 0 ? after : idOfCharacter(position - 1);
}

int Fields::idOfCharacter(int position) const
{
    if (position < 0 || position >= m_document.characterCount() - 1)
        return 0;
    return charFormatOf(m_document, position).intProperty(FieldId);
}

int Fields::next(int afterId) const
{
    const QList<FieldRun>& all = runs();
    auto it = all.begin();
    if (afterId > 0) {
        it = std::find_if(all.begin(), all.end(), [afterId](const FieldRun& r) { return r.id == afterId; });
        if (it != all.end())
            ++it;
    }
    return it == all.end() ? 0 : it->id;
}

QTextCharFormat Fields::format(int id) const
{
    const std::optional<FieldRun> run = find(id);
    return run ? format(*run) : QTextCharFormat();
}

QTextCharFormat Fields::format(const FieldRun& run) const
{
    QTextCursor cursor(&m_document);
    cursor.setPosition(run.start);
    cursor.setPosition(run.start + 1, QTextCursor::KeepAnchor);
    return cursor.charFormat();
}

int Fields::insert(QTextCursor& cursor, const QString& text)
{
    if (text.isEmpty())
        return 0;
    FieldRunCache& cache = FieldRunCache::of(m_document);
    const bool trackable = cache.isFresh() && !cursor.hasSelection();
    const int id = cache.issueId();
    QTextCharFormat format = withoutField(cursor.charFormat());
    format.setProperty(FieldId, id);
    format.setProperty(FieldData, QString());
    format.setProperty(FieldKind, 1);
    format.setProperty(FieldAttribute, 0);
    const QString shown = singleParagraph(text);
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    const int start = cursor.position();
    cursor.insertText(shown, format);
    cursor.setCharFormat(withoutField(format));
    cursor.endEditBlock();
    if (trackable)
        cache.keepAfterReplace(start, 0, int(shown.size()), FieldRun{id, start, start + int(shown.size())});
    else
        cache.invalidate();
    return id;
}

bool Fields::setText(int id, const QString& text)
{
    const std::optional<FieldRun> run = find(id);
    if (!run)
        return false;
    FieldRunCache& cache = FieldRunCache::of(m_document);
    const QTextCharFormat fieldFormat = format(id);
    const QString shown = singleParagraph(text);
    QTextCursor cursor = select(*run);
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    cursor.insertText(shown, fieldFormat);
    cursor.endEditBlock();
    const int added = int(shown.size());
    cache.keepAfterReplace(run->start, run->end - run->start, added,
                           added > 0 ? std::optional<FieldRun>(FieldRun{id, run->start, run->start + added})
                                     : std::nullopt);
    return true;
}

bool Fields::setProperty(int id, int property, const QVariant& value)
{
    const std::optional<FieldRun> run = find(id);
    if (!run || property == FieldId)
        return false;
    QTextCharFormat change;
    change.setProperty(property, value);
    select(*run).mergeCharFormat(change);
    FieldRunCache::of(m_document).keepAfterFormatChange();
    return true;
}

bool Fields::remove(int id, bool keepText)
{
    const std::optional<FieldRun> run = find(id);
    if (!run)
        return false;
    QTextCursor cursor = select(*run);
    cursor.beginEditBlock();
    if (keepText) {
        forEachPieceIn(run->start, run->end, [](QTextCursor& piece, const QTextCharFormat& format) {
            piece.setCharFormat(withoutField(format));
        });
    } else {
        cursor.removeSelectedText();
    }
    cursor.endEditBlock();
    forgetRuns();
    return true;
}

void Fields::renumber(int start, int end)
{
    QHash<int, int> fresh;
    FieldRunCache& cache = FieldRunCache::of(m_document);
    forEachPieceIn(start, end, [&](QTextCursor& piece, const QTextCharFormat& format) {
        const int id = format.intProperty(FieldId);
        if (id <= 0)
            return;
        if (!fresh.contains(id))
            fresh.insert(id, cache.issueId());
        QTextCharFormat change;
        change.setProperty(FieldId, fresh.value(id));
        piece.mergeCharFormat(change);
    });
    forgetRuns();
}

QTextCharFormat Fields::withoutField(QTextCharFormat format)
{
    for (const int property : kFieldProperties)
        format.clearProperty(property);
    return format;
}

void Fields::forEachPieceIn(int start, int end, const PieceVisitor& visit)
{
    // Collect first: changing formats while iterating would split fragments.
    QList<std::pair<int, int>> pieces;
    forEachFragment(m_document, [&](const QTextFragment& fragment) {
        const int from = std::max(start, fragment.position());
        const int to = std::min(end, fragment.position() + fragment.length());
        if (from < to)
            pieces.append({from, to});
    });
    for (const auto& [from, to] : pieces) {
        QTextCursor piece(&m_document);
        piece.setPosition(from);
        piece.setPosition(to, QTextCursor::KeepAnchor);
        visit(piece, piece.charFormat());
    }
}

void Fields::forgetRuns()
{
    FieldRunCache::of(m_document).invalidate();
}

QTextCursor Fields::select(const FieldRun& run) const
{
    QTextCursor cursor(&m_document);
    cursor.setPosition(run.start);
    cursor.setPosition(run.end, QTextCursor::KeepAnchor);
    return cursor;
}

} // namespace engine
