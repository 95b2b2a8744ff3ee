#pragma once
// What a Word document held that the engine cannot: each kind is noted once,
// so that the caller can tell the user (the command line prints one line per
// kind) without the reader deciding how.

#include <QString>
#include <set>

namespace formats::docx {

enum class Loss {
    Footnotes,
    Endnotes,
    Comments,
    Equations,
    Charts,
    TrackedChanges,    // read as the final view: insertions kept, deletions dropped
    UndrawablePictures, // EMF, WMF, TIFF and the like: left out
};

struct Report {
    std::set<Loss> losses;

    void note(Loss loss) { losses.insert(loss); }
};

// One line in Japanese for the user about `loss`.
QString describe(Loss loss);

} // namespace formats::docx
