// The plain-text reader through the engine's format 1, as a text file is opened.

#include "engine/textengine.h"
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::startUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    engine::TextEngine scratch;
    scratch.loadFromMemory(fuzz::bytesOf(data, size), engine::FormatCode::PlainText, false);
    return 0;
}
