// The HTML reader as opening a document uses it: the bytes of a file kept in
// a folder of its own, read into a fresh engine.

#include "engine/textengine.h"
#include "formats/html/htmlimport.h"
#include "fuzz/fuzzsupport.h"

namespace {

void openHtml(const QByteArray& bytes)
{
    const formats::HtmlImport codec;
    engine::TextEngine scratch;
    codec.readFrom(bytes, fuzz::scratchFolder(), scratch.documentSet());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::startUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    openHtml(fuzz::bytesOf(data, size));
    fuzz::runPostedEvents();
    return 0;
}
