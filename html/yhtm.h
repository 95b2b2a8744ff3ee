#pragma once
// yHtm: writes a document as the program's HTML dialect — HTML 4.01
// Transitional in UTF-8 with a byte-order mark and CR LF line ends, one
// generated style sheet, classes instead of inline styles, paragraphs as div,
// the three headings as h1, h3 and h5, tool tips as titled spans and the
// pictures in "<stem>_files" beside the file.
//
// The writer never walks the document model. The engine exports the document
// as HTML (the EngineExport callback), and the writer rewrites that text. The
// passes expect exactly this shape of engine HTML:
//
// File
//   UTF-8 (a byte-order mark is allowed). Lines end with CR LF, or the markup
//   has no line breaks at all; a tag never spans lines; no comments, no
//   <script>, no CDATA. Indentation, if any, uses spaces only.
//   <html><head> ... <base href="ADDRESS"> ... </head>
//   followed by the body, from "<body" to the end of the file, ending with
//   </body></html>.
//   ADDRESS is the folder the document is saved into (request.baseFolder) as
//   a file address ending in "/": "file://" + absolute path with "/"
//   separators, spaces written as %20, & and " as &amp; and &quot;.
// Body
//   <body style="DECLS"> with the font of text without its own (the user's
//   本文, request.body).
//   Tag and attribute names in lower case; attribute values in double quotes;
//   text and attribute values escaped as &amp; &lt; &gt; &quot;.
// Paragraphs
//   <p style="DECLS">…</p>, DECLS without spaces, each "property:value;" with
//   numbers in points and "." as decimal point, in this vocabulary:
//     margin-top, margin-bottom, margin-left, margin-right  (pt; write zero
//       values as exactly "margin-left:0pt;" — they are dropped)
//     text-indent (pt; zero as "text-indent:0pt;")
//     line-height:N%;  N = the whole percentage. A paragraph with the user's
//       standard spacing writes N = int(100 * line-spacing factor) computed
//       in single precision (1.2 gives 120) — it is dropped as the default.
//     text-align:left|right|center|justify;
//     font-family:'NAME', GENERIC; font-size:Npt;  (the paragraph's fonts
//       in their order, then a generic family; 'Arial' stands for the
//       user's body font and is replaced by it)
//     background-color:#RRGGBB;  for a shaded paragraph
//     page-break-before:always;  for a paragraph that starts a page
//   A paragraph marked with one of the three heading styles is <h1>, <h3> or
//   <h5> instead of <p>; a paragraph with margin-left of 6pt or more in one
//   of the heading sizes becomes one as well. An empty paragraph is
//   <p style="…"><br /></p>. Text keeps its spaces; markup has none beside
//   text.
//   A paragraph that starts with a link target carries it as id="NAME";
//   other targets are empty anchors <a name="NAME"></a> before their letter.
//   A rule is <hr> on a line of its own.
// Character runs
//   <span style="DECLS">text</span> with font-family, font-size, color,
//   background-color, font-weight:bold, font-style:italic,
//   text-decoration:underline|line-through, vertical-align:super|sub.
//   Line breaks within a paragraph: <br />.
// Tables
//   <table cellspacing="0" cellpadding="0" cols="N" border="…" width="…">
//   (a text frame: a one-cell table with frame="box" rules="none" as well)
//   <tr> <td align="…" valign="…" bgcolor="#RRGGBB" width="…"> cell
//   paragraphs </td> </tr> </table>; every <tr> holds a cell.
// Lists
//   <ul type="disc|circle|square"> / <ol type="1|a|A|i|I" start="N"> with
//   <li style="DECLS"> items holding text and spans directly; a deeper list
//   sits inside the item before it, ahead of its </li>.
// Pictures
//   <img src="STEM_images/FILE" alt="TEXT" width="…" height="…" />, the files
//   written into the folder "<stem>_images" beside request.htmlPath. In src,
//   spaces of STEM are written as %20 and &, <, >, " escaped; nothing else is
//   encoded.
// Fields
//   <a href="HREF">text</a>: a field whose data starts with "TG_", "TP_" or
//   "DX_" has HREF "#" + data, any other field its data (a web address, or a
//   file address absolute as file:///… or relative to the document's folder).
// Raw lines
//   <### TEXT> writes TEXT on a line of its own, untouched.

#include "html/classtable.h"
#include "html/htmelement.h"
#include "html/styleset.h"

#include <QString>
#include <QFile>
#include <functional>
#include <memory>
#include <optional>

namespace html {

struct EngineExportRequest {
    QString htmlPath;        // where to write the engine's HTML (pictures beside it)
    QString baseFolder;      // the folder the document is saved into, for <base href>
    int pictureExportCode;   // 3 when the caller asked for PNG pictures, else 4
    TextStyle body = {};     // the font of text without its own: the user's 本文
                             // (none given: the document's default font)
};

// Writes the document's engine HTML and its pictures as the request says;
// false when it could not.
using EngineExport = std::function<bool(const EngineExportRequest&)>;

// The converted document in two parts, for callers that embed it elsewhere.
struct HtmParts {
    QString styleBlock;   // "<style type=…" to "</style>" and CR LF
    QString body;         // the markup inside the body element
};

class yHtm {
public:
    explicit yHtm(StyleSet styles);

    // Writes the document as the dialect to `sFL`. `sTP` is the document's
    // tool-tip table (link text, TAB, tip, CR per tool tip), `sTl` its title.
    // The file and its picture folder are replaced only by the finished
    // dialect; on any failure both stay as they were, the user is told
    // "ﾌｧｲﾙ: <name> を保存できません｡" and the result is false.
    bool cSaveHtm(const EngineExport& exportFromEngine, bool bPng, const QString& sFL, const QString& sTP,
                  const QString& sTl);

    // The same conversion, without writing `sFL`: the picture folder is put
    // beside it as in a save, and the style block and body come back.
    // nullopt, with nothing changed, on failure.
    std::optional<HtmParts> cGetHtm(const EngineExport& exportFromEngine, const QString& sFL, const QString& sTP);

private:
    struct Converted {
        QString styleBlock;
        QString body;   // from the line break before "<body" to "</html>"
    };
    std::optional<Converted> convert(const EngineExport& exportFromEngine, int pictureExportCode,
                                     const QString& preparedPath, const QString& targetPath,
                                     const QString& sTP) const;
    Converted rewrite(QString body, const QString& baseAddress, const QString& sTP) const;

    StyleSet m_styles;
};

class ScratchSave;

// A document written as the dialect piece by piece, for a long file that is
// read and converted one piece at a time: each piece's engine export is
// rewritten as it comes, all of them with one class table, and only its body
// is kept, in a scratch file, so that no more than one piece is held at a
// time. The pieces are parts of one body in order; only one of them may
// hold pictures (the engine numbers picture files per export, and a second
// picture folder makes the save fail). The file and its picture folder are
// replaced only by commit, with everything or nothing.
class yHtmPieces {
public:
    // `pictureExportCode`: 3 for PNG pictures, else 4 (engine export codes).
    yHtmPieces(StyleSet styles, const QString& sFL, int pictureExportCode = 4);
    ~yHtmPieces();
    yHtmPieces(const yHtmPieces&) = delete;
    yHtmPieces& operator=(const yHtmPieces&) = delete;

    // Converts the next piece. `sTP` is its tool-tip table. False once a
    // piece could not be converted; later pieces are then passed over.
    bool add(const EngineExport& exportFromEngine, const QString& sTP);

    // The same in two steps, for pieces without pictures whose engine HTML
    // the caller makes itself, as `request()` asks for it. `prepare` needs
    // nothing of the other pieces: it may run on any thread, for several
    // pieces at once. nullopt when the HTML has no body.
    EngineExportRequest request() const;
    std::optional<ElementList> prepare(QString engineHtml, const QString& sTP) const;
    // Adds prepared pieces in their order; nullopt fails the document.
    bool add(std::optional<ElementList> elements);
    // Writes the head with the style sheet of every piece's classes, then
    // the bodies, in place of the file. On a failure here or in add the
    // file stays as it was, the user is told "ﾌｧｲﾙ: <name> を保存できません｡"
    // and the result is false. Either way the scratch folder is gone
    // afterwards, and nothing more can be added.
    bool commit(const QString& sTl);

private:
    bool append(const QString& written);
    bool writeDocument(const QString& sTl);

    StyleSet m_styles;
    QString m_target;
    int m_pictureExportCode;
    std::unique_ptr<ScratchSave> m_scratch;
    ClassTable m_classes;
    QFile m_bodies;   // the pieces' bodies so far, in the scratch folder
    QString m_end;    // the last piece's end of the body and of the file
    bool m_started = false;
    bool m_failed = false;
};

} // namespace html
