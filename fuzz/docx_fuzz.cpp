// The Word reader as opening a document uses it: the bytes of a .docx file
// read into a fresh engine, and the result kept as the engine keeps it.
//
// Random bytes seldom make a zip whose parts are XML, so an input that is not
// a package already (a zip or an OLE file) is taken as the parts themselves,
// separated by NUL bytes — the main document, its styles, numbering,
// footnotes, header and one picture — and zipped with the relationships a
// Word document has, as the reader's tests make their packages.

#include "engine/textengine.h"
#include "formats/docx/docxcodec.h"
#include "formats/docx/tests/docxfixture.h"
#include "fuzz/fuzzsupport.h"

#include <QList>

namespace {

using docxtest::relationship;

const char* const kPartNames[] = {"word/document.xml", "word/styles.xml", "word/numbering.xml",
                                  "word/footnotes.xml", "word/header1.xml", "word/media/image1.png"};

bool isPackage(const QByteArray& bytes)
{
    return bytes.startsWith("PK") || bytes.startsWith("\xD0\xCF\x11\xE0");
}

// The parts in a zip with the relationships that lead to them.
QByteArray packageOf(const QList<QByteArray>& parts)
{
    docxtest::Parts package{
        {QStringLiteral("_rels/.rels"), docxtest::relationships(relationship("rId1", "officeDocument", "word/document.xml"))},
        {QStringLiteral("word/_rels/document.xml.rels"),
         docxtest::relationships(relationship("rS", "styles", "styles.xml") + relationship("rN", "numbering", "numbering.xml")
                                 + relationship("rF", "footnotes", "footnotes.xml") + relationship("rH", "header", "header1.xml")
                                 + relationship("rP", "image", "media/image1.png")
                                 + relationship("rL", "hyperlink", "http://example.com/", true))},
    };
    for (qsizetype i = 0; i < parts.size() && i < qsizetype(std::size(kPartNames)); ++i)
        package.push_back({QString::fromLatin1(kPartNames[i]), parts[i]});
    // Stored, not deflated: compressing each input cost most of the run, and
    // the packages of the corpus still take the reader through inflating.
    return docxtest::zipped(package, ZIP_CM_STORE);
}

void openDocx(const QByteArray& input)
{
    const QByteArray bytes = isPackage(input) ? input : packageOf(input.split('\0'));
    engine::TextEngine scratch;
    scratch.loadFromMemory(bytes, engine::FormatCode::Docx, false);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::startUp(argc, argv);
    formats::docx::registerDocxCodec();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    openDocx(fuzz::bytesOf(data, size));
    fuzz::runPostedEvents();
    return 0;
}
