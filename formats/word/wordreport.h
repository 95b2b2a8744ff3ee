#pragma once
// What a Word or RTF document held that the engine cannot keep as it was: each kind
// is noted once, so that the caller can tell the user (the command line
// prints one line per kind) without the reader deciding how.

#include <QString>
#include <set>

namespace formats::word {

enum class Loss {
    Footnotes,          // moved after the text, under a line, with their marks
    Endnotes,           // likewise, after the footnotes
    Comments,           // left out
    Equations,          // their text only
    Charts,             // the picture the file has for them, or a framed space of their size
    TrackedChanges,     // read as the final view: insertions kept, deletions dropped
    UndrawablePictures, // EMF, WMF, TIFF, SVG without a fallback: a framed space of their size
};

struct Report {
    std::set<Loss> losses;

    void note(Loss loss) { losses.insert(loss); }
};

// What became of `loss`, in Japanese, as a phrase to follow "<file> の".
QString describe(Loss loss);

} // namespace formats::word
