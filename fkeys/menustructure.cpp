#include "fkeys/menustructure.h"

#include <vector>

namespace fkeys {

namespace {

// One code of the string and the item whose "(" it stands inside (-1: top level).
struct Item {
    QString code;
    int parent = -1;
};

class StructureReader {
public:
    explicit StructureReader(const QString& structure)
    {
        for (const QChar c : structure)
            read(c);
        flush();
    }

    QList<MenuParent> parents() const
    {
        QList<MenuParent> result;
        std::vector<int> slot(m_items.size(), -1);
        for (size_t i = 0; i < m_items.size(); ++i) {
            if (!m_isParent[i])
                continue;
            slot[i] = static_cast<int>(result.size());
            result.append({m_items[i].code, {}});
        }
        for (const Item& item : m_items)
            for (int up = item.parent; up >= 0; up = m_items[static_cast<size_t>(up)].parent)
                result[slot[static_cast<size_t>(up)]].descendants.append(item.code);
        return result;
    }

private:
    void read(QChar c)
    {
        if (c == u',') {
            flush();
        } else if (c == u'(') {
            open();
        } else if (c == u')') {
            flush();
            if (!m_open.empty())
                m_open.pop_back();
        } else {
            m_token += c;
        }
    }

    // "(" opens a group below the item written just before it; a "(" with no
    // code before it (or beyond the nesting limit) keeps the enclosing parent.
    void open()
    {
        const bool hasCode = !m_token.trimmed().isEmpty();
        flush();
        int parent = m_open.empty() ? -1 : m_open.back();
        if (hasCode && static_cast<int>(m_open.size()) < kMaxMenuNesting) {
            parent = static_cast<int>(m_items.size()) - 1;
            m_isParent[static_cast<size_t>(parent)] = true;
        }
        m_open.push_back(parent);
    }

    void flush()
    {
        const QString code = m_token.trimmed();
        m_token.clear();
        if (code.isEmpty())
            return;
        m_items.push_back({code, m_open.empty() ? -1 : m_open.back()});
        m_isParent.push_back(false);
    }

    std::vector<Item> m_items;
    std::vector<bool> m_isParent;
    std::vector<int> m_open;   // the parent item of each open "(" (-1: none)
    QString m_token;
};

} // namespace

QList<MenuParent> parseMenuStructure(const QString& structure)
{
    return StructureReader(structure).parents();
}

} // namespace fkeys
