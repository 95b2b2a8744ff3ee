#pragma once
// The engine's codec for Word 97–2003 documents (.doc, format code 9), also
// the bytes of the host's data transfer. The binary format is LibreOffice's
// to read and write (libreofficeconverter.h); Fumi goes through Word's newer
// format: reading converts the .doc to .docx and reads that with the .docx
// reader, writing writes .docx and converts it to .doc ("MS Word 97").
//
// Supported: whatever the .docx codec keeps of what LibreOffice makes of the
// file. A file in RTF under the .doc name (as Word's "save as .doc" of an
// RTF file leaves it) is read as RTF. Unsupported: Word 6/95 files;
// password-protected files are refused.
// Whatever stops a conversion (LibreOffice missing, a damaged file, its
// time limit) is the read's refusal, or writeRefusal(), as a sentence.

#include "formats/doc/libreofficeconverter.h"
#include "formats/word/styledcodec.h"
#include "html/styleset.h"

namespace formats::doc {

class DocCodec : public word::StyledCodec {
public:
    explicit DocCodec(html::StyleSet styles = html::StyleSet::defaults(), ConverterSetup setup = {})
        : StyledCodec(std::move(styles))
        , m_converter(std::move(setup))
    {
    }

    bool read(const QByteArray& bytes, const engine::DocumentSet& target) override;
    bool write(const engine::DocumentSet& source, QIODevice& out) override;
    QString writeRefusal() const override { return m_writeRefusal; }

private:
    bool refuse(const engine::DocumentSet& target, const QString& why) const;

    LibreOfficeConverter m_converter;
    QString m_writeRefusal;
};

// Registers DocCodec as the engine's codec for format code 9, writing
// `styles` as the styles of what it writes.
void registerDocCodec(const html::StyleSet& styles = html::StyleSet::defaults());

} // namespace formats::doc
