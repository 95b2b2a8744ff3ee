#pragma once
// The engine's codec for Word documents (.docx, format code 13), Office Open
// XML as Word 2007 and later and LibreOffice write it, transitional and strict.
//
// Reading, in two stages: the package (docxpackage.h) and the part readers
// for styles (docxstyles.h), numbering (docxnumbering.h), the main text,
// headers, footers and the notes the text refers to (docxbody.h). Page setup
// comes from the last section; headers and footers for every page and, with a
// title page, the first. Partial: only the last section's page setup;
// even-page headers are not read.
// What the engine cannot hold is noted in a Report (formats/word/wordreport.h); read()
// passes it, and the reason for a refusal, to the engine's ReadReport.
//
// Writing (docxwriter.h): everything the reading takes in, with styles.xml
// from the user's formats the codec was made with.

#include "formats/docx/docxpackage.h"
#include "formats/word/wordreport.h"
#include "formats/word/styledcodec.h"
#include "html/styleset.h"

namespace formats::docx {

struct ReadOutcome {
    PackageFailure failure = PackageFailure::None;
    word::Report report;

    bool ok() const { return failure == PackageFailure::None; }
};

// Fills `target` (fresh, empty documents) from the bytes of a .docx file.
ReadOutcome readDocx(const QByteArray& bytes, const engine::DocumentSet& target, const PackageLimits& limits = {});

// Why a document was refused, as a sentence to follow the editor's general
// "を読み込めません｡"; "" for no failure.
QString failureMessage(PackageFailure failure);

class DocxCodec : public word::StyledCodec {
public:
    explicit DocxCodec(html::StyleSet styles = html::StyleSet::defaults())
        : StyledCodec(std::move(styles))
    {
    }

    bool read(const QByteArray& bytes, const engine::DocumentSet& target) override;
    bool write(const engine::DocumentSet& source, QIODevice& out) override;
};

// Registers DocxCodec as the engine's codec for format code 13, writing
// `styles` as the styles of what it writes.
void registerDocxCodec(const html::StyleSet& styles = html::StyleSet::defaults());

} // namespace formats::docx
