#pragma once
// The passes that rewrite the engine's HTML export into the dialect, in the
// order yHtm runs them. Each works on the body text or on the element list.

#include "html/classtable.h"
#include "html/htmelement.h"
#include "html/styleset.h"

#include <QString>
#include <array>

namespace html {

// The placeholder that stands for the ideographic space U+3000 while the
// passes run, so that no trimming step can remove one.
inline constexpr char16_t ideographicSpace = 0x3000;
inline constexpr char16_t spacePlaceholder = 0x2177;

// Declarations for links (the `a` rule) and for tool-tip spans.
struct BaseStyles {
    QString link;
    QString tip;
};
BaseStyles MakeBaseStyles(const StyleSet& styles);

// Moves the engine's picture folder "<stem>_images" beside `htmlPath` to
// "<stem>_files" and repoints the body's picture addresses there. False only
// when the folder exists and cannot be renamed.
bool MovePictures(QString& body, const QString& htmlPath);

struct ParseContext {
    QString bodyFont;          // replaces the engine's 'Arial'
    float lineSpacing = 1.2f;  // its line height is the default, dropped from styles
    QString baseAddress;       // the engine's base href, for file links
};
// Splits the body (from "<body" to the end) into elements and cleans them.
ElementList ParseElements(QString body, const ParseContext& context);
// A shaded paragraph rewritten as a paragraph carrying the layout declarations
// around a span carrying the rest (the shading among them).
QString ShadePara(QStringView startTag, QStringView inner);

// Turns tool-tip links into spans with a title, and drops empty links (but
// not the empty anchors that name link targets).
void TipsToSpans(ElementList& list, const QString& tipStyle, const QString& sTP);
// Moves presentation attributes (align, valign, bgcolor, type) into styles.
void AttrsToStyles(ElementList& list);
// Drops empty spans and divisions.
void PruneEmpty(ElementList& list);
// Renames indented divisions set in a heading size to h1, h3 or h5.
void FindHeadings(ElementList& list, const std::array<int, 3>& headingSizes);
// Gives every styled opening tag and picture its class.
void AssignClasses(ElementList& list, ClassTable& classes);
void SetLevels(ElementList& list);
// The body text, indented by level, from "<body" to "</html>".
QString WriteElements(const ElementList& list);

// The complete style block, from "<style" to "</style>" and a line break.
QString BuildStyleSheet(const ClassTable& classes, const QString& linkStyle, const StyleSet& styles);
// Everything before the body: document type, head, style block, title.
QString BuildHead(const QString& title, const QString& styleBlock);

} // namespace html
