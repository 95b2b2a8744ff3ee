// The plain-text reader through the engine's format 1, as a text file is opened.

#include "engine/textengine.h"
#include "fuzz/fuzzsupport.h"

namespace {

void openText(const QByteArray& bytes)
{
    engine::TextEngine scratch;
    scratch.loadFromMemory(bytes, engine::FormatCode::PlainText, false);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::startUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    openText(fuzz::bytesOf(data, size));
    fuzz::runPostedEvents();
    return 0;
}
