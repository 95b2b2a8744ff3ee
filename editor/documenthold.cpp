#include "editor/documenthold.h"

#include "env/dialogs.h"

#include <QFileInfo>

namespace editor {

namespace {

QString holderText(const env::LockHolder& holder)
{
    const QString who = holder.who.isEmpty() ? QStringLiteral("不明") : holder.who;
    return holder.when.isValid() ? who + u'、' + holder.when.toString(QStringLiteral("yyyy/MM/dd HH:mm")) : who;
}

// The same file, also when named through a link or another path.
bool sameFile(const QString& a, const QString& b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return first.absoluteFilePath() == second.absoluteFilePath();
}

} // namespace

std::optional<QString> DocumentHold::otherHolder(const QString& path) const
{
    const std::optional<env::LockHolder> holder = m_lock.otherHolder(path);
    return holder ? std::optional<QString>(holderText(*holder)) : std::nullopt;
}

DocumentHold::Access DocumentHold::askAccess(const QString& path) const
{
    const std::optional<QString> holder = otherHolder(path);
    if (!holder)
        return Access::Editing;
    const QString question = QFileInfo(path).fileName() + QStringLiteral(" は他のﾌﾟﾛｸﾞﾗﾑ(") + *holder
        + QStringLiteral(")で開かれています｡読み取り専用で開きますか");
    switch (env::dialogs().ask(question, env::Buttons::YesNoCancel, env::Answer::Yes, env::Icon::Question)) {
    case env::Answer::Yes:
        return Access::ReadOnly;
    case env::Answer::No:
        return Access::Editing;
    case env::Answer::Ok:
    case env::Answer::Cancel:
        break;
    }
    return Access::Cancelled;
}

void DocumentHold::opened(const QString& path, Access access)
{
    release();
    const QString file = QFileInfo(path).absoluteFilePath();
    if (access == Access::ReadOnly)
        m_readOnlyFile = file;
    else if (access == Access::Editing)
        m_lock.acquire(file);
}

void DocumentHold::release()
{
    m_lock.release();
    m_readOnlyFile.clear();
}

bool DocumentHold::refusesWriteTo(const QString& path) const
{
    return readOnly() && !path.isEmpty() && sameFile(path, m_readOnlyFile);
}

} // namespace editor
