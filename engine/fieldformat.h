#pragma once
// The user property ids under which the engine keeps what QTextFormat has no
// property for: fields, object identities and settings, picture placement and
// the host's opaque paragraph attributes. Every reader and writer of engine
// documents (snapshot, codecs) uses these ids and nothing else.
//
// Where each property lives:
// - Fields: on the QTextCharFormat of every character of the field's visible
//   text. A field is the maximal run of characters carrying the same FieldId;
//   two neighbouring fields with equal data stay apart because their ids differ.
// - Pictures: a QTextImageFormat character (object replacement character) with
//   ObjectId, ObjectSetting, ObjectFileName and ObjectPlacement. The image
//   bytes are a document resource (QTextDocument::ImageResource) registered
//   under the image format's name(); names start with kPictureResourceScheme.
//   A floating picture (placement left, right or flowing) is the same image
//   character inserted with QTextCursor::insertImage(format, position): Qt
//   then links it to a float object (QTextFrameFormat::FloatLeft/FloatRight;
//   flowing text uses FloatLeft). Whoever rebuilds a document recreates that
//   link by inserting the image the same way, from ObjectPlacement.
// - Text frames: a QTextFrame whose QTextFrameFormat carries ObjectId,
//   ObjectKind = kObjectKindTextFrame and ObjectSetting.
// - Paragraph attributes A–D: on QTextBlockFormat, passed through untouched.
// - The host's list attribute value: on QTextListFormat, so that reading it
//   back gives the value the host set.
// Ids (FieldId, ObjectId) are unique within one document and never 0.

#include <QTextFormat>

namespace engine {

enum FormatProperty : int {
    // Fields (QTextCharFormat)
    FieldId = QTextFormat::UserProperty + 1, // int, > 0, unique per document
    FieldData,                               // QString: the hidden data string ("field name")
    FieldKind,                               // int: 1 links and data fields, 2 tags, 3 page numbers
    FieldAttribute,                          // int: 149 on program fields

    // Objects (QTextImageFormat for pictures, QTextFrameFormat for frames)
    ObjectId = QTextFormat::UserProperty + 16, // int, > 0, unique per document
    ObjectKind,                                // int: kObjectKindTextFrame (frames only)
    ObjectSetting,                             // int: the host's object setting, passed through
    ObjectFileName,                            // QString: file the picture came from
    ObjectPlacement,                           // int: enum PicturePlacement values (pictures)

    // Paragraphs (QTextBlockFormat): the host's attributes A–D, opaque
    ParagraphAttributeA = QTextFormat::UserProperty + 32, // QVariant, passed through
    ParagraphAttributeB,
    ParagraphAttributeC,
    ParagraphAttributeD,
    ParagraphSpacing4, // double, twips: the host's fourth spacing value, kept as given

    // Lists (QTextListFormat)
    ListAttribute = QTextFormat::UserProperty + 48, // int: the host's list attribute
    ListStart,                                      // int: the number of an ordered list's first item

    // Link targets (QTextCharFormat), beside Qt's anchor names
    AnchorKey = QTextFormat::UserProperty + 64, // QString: the names joined, see setAnchorNames

    // Page layout copies only (QTextBlockFormat), never in a document itself
    SplitByFormFeed = QTextFormat::UserProperty + 80, // bool: the paragraph is the rest of the one before
};

// Makes `format` the link target named `names`. Qt files formats by a hash
// that leaves the list of anchor names out, so formats that differ in their
// names alone all share one hash: every new target was compared with every
// earlier one, and a manual of 5,000 targets took seconds to load. The names
// joined into a string, which the hash does take in, keep them apart.
inline void setAnchorNames(QTextCharFormat& format, const QStringList& names)
{
    format.setAnchor(true);
    format.setAnchorNames(names);
    format.setProperty(AnchorKey, names.join(u'\n'));
}

// The FieldKind of a page-number field: its text is a stand-in that each
// printed or shown page replaces by its own number. It has no data.
constexpr int kPageNumberFieldKind = 3;

inline bool isPageNumberField(const QTextCharFormat& format)
{
    return format.intProperty(FieldKind) == kPageNumberFieldKind && format.intProperty(FieldId) > 0;
}

// The field properties of a page-number field of id `id`, for readers.
inline QTextCharFormat pageNumberFieldFormat(int id)
{
    QTextCharFormat format;
    format.setProperty(FieldId, id);
    format.setProperty(FieldData, QString());
    format.setProperty(FieldKind, kPageNumberFieldKind);
    format.setProperty(FieldAttribute, 0);
    return format;
}

// Object kinds, with the host's enumeration numbers. Only text frames carry
// ObjectKind; a picture is known by its image format.
constexpr int kObjectKindPicture = 4;
constexpr int kObjectKindTextFrame = 32;

// Values of ObjectPlacement.
enum PicturePlacement : int {
    PictureInline = 0,   // in the text line
    PictureFloatLeft = 1,
    PictureFloatRight = 2,
    PictureTextFlow = 3, // floating, text flows around both sides
};

// Prefix of the resource names under which picture bytes are registered.
inline constexpr char kPictureResourceScheme[] = "fumi-picture:";

} // namespace engine
