#pragma once
// The numbering part (word/numbering.xml): which list kind each numbering
// instance gives each of its levels. Kept: bullets against numbers and the
// number kind (decimal, letters, Roman), the nesting level, the start value
// of numbered levels. Not kept: level texts beyond the bullet's shape,
// picture bullets.

#include <QByteArray>
#include <QHash>
#include <QTextListFormat>
#include <QXmlStreamReader>

namespace formats::docx {

class Numbering {
public:
    void read(const QByteArray& xml);

    // The list format of level `level` of numbering instance `numberingId`;
    // ListStyleUndefined for "0" (no list) and unknown ids.
    QTextListFormat listFormat(const QString& numberingId, int level) const;

private:
    struct Level {
        QTextListFormat::Style style = QTextListFormat::ListDisc;
        int start = 1;
    };
    using Levels = QHash<int, Level>;

    void readAbstract(QXmlStreamReader& reader);
    void readInstance(QXmlStreamReader& reader);

    QHash<QString, Levels> m_abstracts;
    QHash<QString, QString> m_abstractOfInstance;
};

} // namespace formats::docx
