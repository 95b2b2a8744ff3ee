#include "browser/filelistmodel.h"

#include "browser/namepatterns.h"

#include <QApplication>
#include <QStyle>

namespace browser {

FileListModel::FileListModel(QObject* parent)
    : QAbstractListModel(parent),
      m_documentIcon(QIcon::fromTheme(QStringLiteral("text-html"),
                                      QApplication::style()->standardIcon(QStyle::SP_FileIcon))),
      m_fileIcon(QIcon::fromTheme(QStringLiteral("text-x-generic"),
                                  QApplication::style()->standardIcon(QStyle::SP_FileIcon)))
{
}

void FileListModel::setNames(const QStringList& names, const NamePatterns& documents)
{
    beginResetModel();
    m_names = names;
    m_isDocument.assign(static_cast<size_t>(names.size()), false);
    for (qsizetype i = 0; i < names.size(); ++i)
        m_isDocument[static_cast<size_t>(i)] = documents.matches(names[i]);
    endResetModel();
}

int FileListModel::rowOf(const QString& name) const
{
    const qsizetype exact = m_names.indexOf(name);
    if (exact >= 0)
        return static_cast<int>(exact);
    for (qsizetype i = 0; i < m_names.size(); ++i)
        if (m_names[i].compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

int FileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_names.size());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_names.size())
        return {};
    const auto row = static_cast<size_t>(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_names[index.row()];
    case Qt::DecorationRole:
        return m_isDocument[row] ? m_documentIcon : m_fileIcon;
    default:
        return {};
    }
}

} // namespace browser
