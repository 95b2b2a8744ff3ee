#pragma once
// The names in the file list, with documents told apart by their icon.

#include <QAbstractListModel>
#include <QIcon>
#include <QStringList>
#include <vector>

namespace browser {

class NamePatterns;

class FileListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit FileListModel(QObject* parent = nullptr);

    // Replaces the list; `documents` decides which names are documents.
    void setNames(const QStringList& names, const NamePatterns& documents);
    const QStringList& names() const { return m_names; }
    // Row of `name`: an exact match first, else one that differs only in case; -1 if none.
    int rowOf(const QString& name) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QStringList m_names;
    std::vector<bool> m_isDocument;
    QIcon m_documentIcon;
    QIcon m_fileIcon;
};

} // namespace browser
