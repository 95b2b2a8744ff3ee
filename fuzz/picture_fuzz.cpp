// Pictures as a file or the clipboard hands them over: read, sized, and drawn
// at a small size as the picture dialog's preview is.

#include "fuzz/fuzzsupport.h"
#include "picture/source.h"

namespace {

void drawPicture(const QByteArray& bytes)
{
    const picture::Source source = picture::Source::fromBytes(bytes);
    if (!source.ok())
        return;
    source.render(source.pixelSize().boundedTo(QSize(256, 256)));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::startUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    drawPicture(fuzz::bytesOf(data, size));
    return 0;
}
