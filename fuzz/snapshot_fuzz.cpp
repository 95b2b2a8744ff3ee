// The snapshot reader through the engine's format 3, both ways the editor
// takes a snapshot in: replacing the document, and inserted at the caret
// into a document that already holds one.

#include "engine/textengine.h"
#include "fuzz/fuzzsupport.h"

namespace {

void loadSnapshot(const QByteArray& bytes)
{
    engine::TextEngine scratch;
    if (scratch.loadFromMemory(bytes, engine::FormatCode::Snapshot, false))
        scratch.loadFromMemory(bytes, engine::FormatCode::Snapshot, true);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::startUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    loadSnapshot(fuzz::bytesOf(data, size));
    fuzz::runPostedEvents();
    return 0;
}
