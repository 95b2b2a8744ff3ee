#pragma once
// The paper a document prints on, told from its own page setup: the paper
// code of the printer record (A4, A5, B5, postcard, Letter, or custom) and
// the orientation. Paper and orientation always come from the document,
// never from stored printer settings.

#include "engine/pagesetup.h"

#include <QPageSize>
#include <QSizeF>

namespace print {

// Paper codes of the printer record.
enum PaperCode : int {
    PaperLetter = 1,
    PaperA4 = 9,
    PaperA5 = 11,
    PaperB5 = 13,
    PaperPostcard = 43,
    PaperCustom = 256,
};

struct DocumentPaper {
    int code = PaperCustom;
    QSizeF portraitTwips; // width and height in portrait order
    bool landscape = false;

    // The page size a printer is given: the standard size of the code, or
    // for custom paper the document's own size exactly.
    QPageSize pageSize() const;
};

// A standard size matches when width and height each differ by less than 2 %;
// the first match in the order A4, A5, B5, postcard, Letter wins.
int paperCodeFor(const QSizeF& portraitTwips);
DocumentPaper documentPaper(const engine::PageSetup& setup);

} // namespace print
