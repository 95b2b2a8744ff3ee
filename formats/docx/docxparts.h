#pragma once
// What the part writers share while one .docx is written: an XML part being
// written, the relationships of a part, the pictures bound for word/media/
// and the lists bound for word/numbering.xml. Everything is numbered in the
// order it is first met, so one document always gives the same package.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QXmlStreamWriter>
#include <vector>

class QImage;
class QTextDocument;
class QTextImageFormat;
class QTextList;

namespace formats::docx {

// Namespace addresses of the parts written.
namespace ns {
inline constexpr char w[] = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
inline constexpr char r[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr char relationships[] = "http://schemas.openxmlformats.org/package/2006/relationships";
inline constexpr char officeRelationship[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
} // namespace ns

// One XML part: a UTF-8 declaration with standalone="yes", then whatever the
// caller writes through writer().
class XmlPart {
public:
    XmlPart();
    QXmlStreamWriter& writer() { return m_writer; }
    // Starts the root element with the main namespace of the word parts and
    // the others a text part may use.
    void startWordRoot(const QString& name);
    QByteArray finish();

private:
    QByteArray m_bytes;
    QXmlStreamWriter m_writer;
};

// The relationships of one part (word/_rels/document.xml.rels and the like).
class PartRelationships {
public:
    // The id of the relationship of `kind` (the last segment of its type, as
    // "image" or "hyperlink", or a whole type address) to `target`; the
    // same target gets the same id.
    QString add(const QString& kind, const QString& target, bool external = false);
    bool isEmpty() const { return m_entries.empty(); }
    QByteArray xml() const;

private:
    struct Entry {
        QString id, kind, target;
        bool external;
    };
    std::vector<Entry> m_entries;
    QHash<QString, QString> m_ids; // by kind, target and mode
};

// The pictures of the document, each stored once under word/media/.
class MediaStore {
public:
    struct Item {
        QString name;      // "media/image1.png", relative to word/
        QByteArray bytes;
    };

    // The name of the picture that `format` shows in `document`; "" when it
    // has no drawable image.
    QString nameFor(const QTextDocument& document, const QTextImageFormat& format);
    const std::vector<Item>& items() const { return m_items; }

private:
    std::vector<Item> m_items;
    QHash<QString, QString> m_names; // by resource name; "" for undrawable ones
};

// The lists of the document, one numbering instance each.
class ListNumbering {
public:
    // The w:numId of `list` (1 based).
    int idOf(const QTextList* list);
    bool isEmpty() const { return m_lists.isEmpty(); }
    QByteArray xml() const;

private:
    struct Definition {
        int style;  // QTextListFormat::Style
        int level;  // 0 based
        int start;
    };
    QList<const QTextList*> m_lists;
    QList<Definition> m_definitions;
};

} // namespace formats::docx
