#include "print/documentpaper.h"

#include <array>
#include <cmath>

namespace print {

namespace {

struct StandardPaper {
    int code;
    double width, height; // twips, portrait
};

constexpr std::array<StandardPaper, 5> kStandardPapers = {{
    {PaperA4, 11906, 16838},
    {PaperA5, 8300, 11900},
    {PaperB5, 10318, 14581},
    {PaperPostcard, 5666, 8386},
    {PaperLetter, 12240, 15840},
}};

constexpr double kTolerance = 0.02;

bool near(double actual, double standard)
{
    return std::abs(1 - actual / standard) < kTolerance;
}

} // namespace

int paperCodeFor(const QSizeF& portraitTwips)
{
    for (const StandardPaper& paper : kStandardPapers)
        if (near(portraitTwips.width(), paper.width) && near(portraitTwips.height(), paper.height))
            return paper.code;
    return PaperCustom;
}

DocumentPaper documentPaper(const engine::PageSetup& setup)
{
    // A sheet wider than high is a landscape page, whichever way the host
    // gave its numbers.
    const QSizeF sheet = setup.sheetTwips();
    DocumentPaper paper;
    paper.landscape = sheet.width() > sheet.height();
    paper.portraitTwips = paper.landscape ? sheet.transposed() : sheet;
    paper.code = paperCodeFor(paper.portraitTwips);
    return paper;
}

QPageSize DocumentPaper::pageSize() const
{
    if (code != PaperCustom)
        return QPageSize(QPageSize::id(code));
    return QPageSize(portraitTwips / engine::kTwipsPerPoint, QPageSize::Point, QString(),
                     QPageSize::ExactMatch);
}

} // namespace print
