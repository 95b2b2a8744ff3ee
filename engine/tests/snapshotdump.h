#pragma once
// A fixed text dump of everything a snapshot keeps of a document — frames,
// tables, cells, paragraphs, lists, fragments, every format property, float
// frames and picture pixels — so that two documents compare structurally.

#include <QColor>
#include <QDebug>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextOption>
#include <QTextTable>
#include <QUrl>

#include <string>

namespace snapshottest {

inline QString describe(const QVariant& value)
{
    if (value.userType() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 17);
    if (value.userType() == qMetaTypeId<QTextOption::Tab>()) {
        const auto tab = value.value<QTextOption::Tab>();
        return QStringLiteral("Tab(%1,%2,%3)").arg(tab.position, 0, 'g', 17).arg(tab.type).arg(tab.delimiter.unicode());
    }
    if (value.userType() == qMetaTypeId<QTextLength>()) {
        const auto length = value.value<QTextLength>();
        return QStringLiteral("Length(%1,%2)").arg(length.type()).arg(length.rawValue(), 0, 'g', 17);
    }
    if (value.userType() == QMetaType::QVariantList) {
        QStringList items;
        for (const QVariant& item : value.toList())
            items << describe(item);
        return QLatin1Char('[') + items.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    QString text;
    QDebug(&text).nospace() << value;
    return text;
}

// The format's properties except those that only tie it to the structure.
inline QString describe(const QTextFormat& format)
{
    QStringList parts{QString::number(format.type())};
    const auto properties = format.properties();
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        if (it.key() == QTextFormat::ObjectIndex || it.key() == QTextFormat::TableCellRowSpan
            || it.key() == QTextFormat::TableCellColumnSpan)
            continue;
        parts << QString::number(it.key(), 16) + QLatin1Char('=') + describe(it.value());
    }
    return QLatin1Char('{') + parts.join(QLatin1Char(' ')) + QLatin1Char('}');
}

class DocumentDump {
public:
    explicit DocumentDump(const QTextDocument& document)
        : m_document(document)
    {
    }

    QString text()
    {
        line(0, QStringLiteral("root ") + describe(m_document.rootFrame()->frameFormat()));
        contents(m_document.rootFrame()->begin(), 1);
        pictures();
        return m_out;
    }

private:
    void line(int depth, const QString& text) { m_out += QString(depth * 2, QLatin1Char(' ')) + text + QLatin1Char('\n'); }

    void contents(QTextFrame::iterator it, int depth)
    {
        for (; !it.atEnd(); ++it) {
            if (auto* table = qobject_cast<QTextTable*>(it.currentFrame()))
                this->table(table, depth);
            else if (QTextFrame* frame = it.currentFrame()) {
                line(depth, QStringLiteral("frame ") + describe(frame->frameFormat()));
                contents(frame->begin(), depth + 1);
            } else {
                block(it.currentBlock(), depth);
            }
        }
    }

    void table(QTextTable* table, int depth)
    {
        line(depth, QStringLiteral("table %1x%2 ").arg(table->rows()).arg(table->columns()) + describe(table->format()));
        for (int r = 0; r < table->rows(); ++r) {
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.row() != r || cell.column() != c)
                    continue;
                line(depth + 1, QStringLiteral("cell %1,%2 span %3x%4 ").arg(r).arg(c).arg(cell.rowSpan()).arg(cell.columnSpan())
                         + describe(cell.format()));
                contents(cell.begin(), depth + 2);
            }
        }
    }

    void block(const QTextBlock& block, int depth)
    {
        QString list = QStringLiteral("-");
        if (const QTextList* textList = block.textList()) {
            if (!m_lists.contains(textList)) {
                m_lists.append(textList);
                line(depth, QStringLiteral("list %1 ").arg(m_lists.size() - 1) + describe(textList->format()));
            }
            list = QString::number(m_lists.indexOf(textList));
        }
        line(depth, QStringLiteral("block list=%1 ").arg(list) + describe(block.blockFormat()) + QLatin1Char(' ')
                 + describe(block.charFormat()));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QString text = fragment.text();
            text.replace(QChar::ObjectReplacementCharacter, QStringLiteral("[obj]"));
            QString floatFrame;
            if (auto* frame = qobject_cast<QTextFrame*>(m_document.objectForFormat(fragment.charFormat())))
                floatFrame = QStringLiteral(" float ") + describe(frame->frameFormat());
            line(depth + 1, QLatin1Char('"') + text + QStringLiteral("\" ") + describe(fragment.charFormat()) + floatFrame);
            if (fragment.charFormat().isImageFormat())
                m_pictureNames.append(fragment.charFormat().toImageFormat().name());
        }
    }

    void pictures()
    {
        m_pictureNames.removeDuplicates();
        for (const QString& name : m_pictureNames) {
            const QVariant resource = m_document.resource(QTextDocument::ImageResource, QUrl(name));
            QImage image = resource.userType() == QMetaType::QPixmap ? resource.value<QPixmap>().toImage()
                                                                     : resource.value<QImage>();
            image = image.convertToFormat(QImage::Format_ARGB32);
            const size_t hash = qHashBits(image.constBits(), size_t(image.sizeInBytes()));
            line(0, QStringLiteral("picture %1 %2x%3 %4").arg(name).arg(image.width()).arg(image.height()).arg(hash));
        }
    }

    const QTextDocument& m_document;
    QString m_out;
    QList<const QTextList*> m_lists;
    QStringList m_pictureNames;
};

// As std::string, which test failures print readably.
inline std::string dump(const QTextDocument& document)
{
    return DocumentDump(document).text().toStdString();
}

} // namespace snapshottest
