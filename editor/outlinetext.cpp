#include "editor/outlinetext.h"

#include "editor/paragraphs.h"
#include "editor/stylelevel.h"
#include "engine/textengine.h"

namespace editor {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kRule = QString(30, u'-');

QString outlineLine(StyleLevel level, const QString& text)
{
    switch (level) {
    case StyleLevel::Heading1: return kRule + kCrLf + text + kCrLf + kRule;
    case StyleLevel::Heading2: return QStringLiteral("■■　") + text;
    case StyleLevel::Heading3: return QStringLiteral("　■　") + text;
    case StyleLevel::Body: break;
    }
    return text;
}

QString withoutOuterLineBreaks(QString text)
{
    while (text.startsWith(kCrLf))
        text.remove(0, kCrLf.size());
    while (text.endsWith(kCrLf))
        text.chop(kCrLf.size());
    return text;
}

} // namespace

Outline outlineText(engine::TextEngine& engine, const dialogs::Frmt& formats)
{
    const int start = engine.selectionStart();
    const int length = engine.selectionLength();
    Outline outline;
    bool headingSeen = false;
    for (const paragraphs::Span& span : paragraphs::all(engine)) {
        engine.setSelection(span.start, span.end - span.start);
        const QString text = engine.selectedText();
        engine.setSelection(span.start, 0);
        const StyleLevel level = styleLevelAtCaret(engine, formats);
        if (level != StyleLevel::Body && !headingSeen) {
            outline.caption = text.trimmed();
            headingSeen = true;
        }
        outline.text += outlineLine(level, text) + kCrLf;
    }
    engine.setSelection(start, length);
    outline.text = withoutOuterLineBreaks(outline.text);
    return outline;
}

} // namespace editor
