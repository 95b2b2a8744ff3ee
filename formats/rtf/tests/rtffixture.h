#pragma once
// What the RTF tests share: an engine document set of their own for each
// test, and the text of a document part as the tests compare it.

#include "engine/documentset.h"

#include <QTextBlock>
#include <QTextDocument>

namespace rtftest {

struct Documents {
    QTextDocument body, header, firstHeader, footer, firstFooter;
    engine::PageSetup setup;
    engine::ReadReport report;

    engine::DocumentSet set() { return {&body, &header, &firstHeader, &footer, &firstFooter, &setup, &report}; }
};

// The text of every paragraph, "|" between them.
inline QString paragraphs(const QTextDocument& document)
{
    QStringList texts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        texts << block.text();
    return texts.join(u'|');
}

} // namespace rtftest
