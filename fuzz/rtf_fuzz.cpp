// The RTF reader as opening a document uses it: the bytes of an .rtf file
// read into a fresh engine; what was read is written again, so that the
// writer meets every shape of document the reader can make.

#include "engine/textengine.h"
#include "formats/rtf/rtfcodec.h"
#include "formats/rtf/rtfwriter.h"
#include "fuzz/fuzzsupport.h"

namespace {

void openRtf(const QByteArray& input)
{
    engine::TextEngine scratch;
    if (scratch.loadFromMemory(input, engine::FormatCode::Rtf, false))
        formats::rtf::writeRtf(scratch.documentSet(), html::StyleSet::defaults());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::startUp(argc, argv);
    formats::rtf::registerRtfCodec();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    openRtf(fuzz::bytesOf(data, size));
    fuzz::runPostedEvents();
    return 0;
}
