#pragma once
// A document used as a template that a host program fills: its data fields
// ("[FD]" fields named "@") take texts or pictures and its text frames whole
// documents, each addressed by its number in document order, counted once
// when filling starts.

#include <QList>
#include <QString>

#include <memory>

namespace engine {
class TextEngine;
}

namespace editor {

// Data fields share their kind with links; their name tells them apart.
constexpr int kDataFieldKind = 1;
// The text and name a data field is inserted with.
inline const QString kDataFieldText = QStringLiteral("[FD]");
inline const QString kDataFieldName = QStringLiteral("@");

class TemplateFilling {
public:
    explicit TemplateFilling(engine::TextEngine& engine) : m_engine(engine) {}

    // Numbers the fields of links and data fields (they share their kind)
    // and the text frames as they stand now; `pictureBase` is kept for the host.
    void start(const QString& pictureBase);
    void end();
    bool filling() const { return m_filling; }
    const QString& pictureBase() const { return m_pictureBase; }

    // The id of field or frame `number` (from 1); 0 for a number not counted.
    int fieldId(int number) const;
    int frameId(int number) const;

    bool setFieldText(int number, const QString& text);
    // The picture takes the field's place; the caret goes to the end of the text.
    bool setFieldPicture(int number, const QString& path);

private:
    engine::TextEngine& m_engine;
    QList<int> m_fields;
    QList<int> m_frames;
    QString m_pictureBase;
    bool m_filling = false;
};

// A copy of `source` (its page setup and the whole document, through the
// snapshot format) in which every data field reads "FD:n" and every text
// frame "TF:n", numbered as filling numbers them; the document itself is
// left as it was. Null when the document could not be copied.
std::unique_ptr<engine::TextEngine> numberedCopy(engine::TextEngine& source);

// Empties the document and lays its page out for `areas` parts (2 or 3): the
// main text and one text frame, or two stacked, each as wide as the text
// area and the page's share of the height less the top and bottom margins.
// The caret is left in the first frame.
void layOutTextFrames(engine::TextEngine& engine, int areas);

} // namespace editor
