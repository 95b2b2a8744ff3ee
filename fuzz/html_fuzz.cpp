// The HTML reader as opening a document uses it: the bytes of a file kept in
// a folder of its own, read into a fresh engine; and as converting a long
// file uses it: cut into pieces, each read into an engine of its own.

#include "engine/textengine.h"
#include "formats/html/htmlimport.h"
#include "formats/html/htmlpieces.h"
#include "formats/html/htmltext.h"
#include "fuzz/fuzzsupport.h"

namespace {

void openHtml(const QByteArray& bytes)
{
    const formats::HtmlImport codec;
    engine::TextEngine scratch;
    codec.readFrom(bytes, fuzz::scratchFolder(), scratch.documentSet());
}

// Short pieces, so that an input of a few kilobytes is cut many times.
void convertInPieces(const QByteArray& bytes)
{
    const formats::HtmlImport codec;
    const QString text = formats::decodeHtml(bytes).text;
    formats::HtmlPieces pieces(text, 1024);
    for (std::optional<QString> piece = pieces.next(); piece; piece = pieces.next()) {
        engine::TextEngine scratch;
        codec.readText(std::move(*piece), fuzz::scratchFolder(), scratch.documentSet());
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::startUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    openHtml(bytes);
    convertInPieces(bytes);
    fuzz::runPostedEvents();
    return 0;
}
