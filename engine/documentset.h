#pragma once
// The whole content of one engine document as the snapshot code sees it: the
// body, the four header/footer texts and the page setup. The set points at
// documents it does not own.

#include "engine/headerfooter.h"
#include "engine/pagesetup.h"

#include <QString>
#include <QStringList>

class QTextDocument;

namespace engine {

// What a reader noticed while filling a set that the user should hear of.
struct ReadReport {
    qsizetype unreadableCharacters = 0; // byte sequences that became U+FFFD
    qsizetype lineLimit = 0;            // a file refused for more lines than this; 0: none
    QString refusal;    // why a file was refused, as a sentence; "" when the caller's own words say it all
    QStringList losses; // what the document could not keep as the file had it: one phrase per kind,
                        // each to follow "<file> の"
};

struct DocumentSet {
    QTextDocument* body = nullptr;
    // Null where a set has no header/footer part (for example a clipboard
    // selection): that part is then neither written nor read.
    QTextDocument* header = nullptr;      // every page
    QTextDocument* firstHeader = nullptr; // first page
    QTextDocument* footer = nullptr;      // every page
    QTextDocument* firstFooter = nullptr; // first page
    PageSetup* pageSetup = nullptr;       // null: not written nor read
    ReadReport* report = nullptr;         // null: nobody asks; readers assign what they noticed
};

// The header/footer parts of `set` as page layout takes them; which of them a
// page shows is decided by the page setup's flags.
inline HeaderFooterDocuments headerFooterOf(const DocumentSet& set)
{
    return {set.header, set.firstHeader, set.footer, set.firstFooter};
}

} // namespace engine
