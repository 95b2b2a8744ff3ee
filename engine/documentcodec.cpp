#include "engine/documentcodec.h"

#include "engine/builtincodecs.h"

#include <map>

namespace engine {

namespace {

std::map<FormatCode, std::shared_ptr<DocumentCodec>>& registry()
{
    static std::map<FormatCode, std::shared_ptr<DocumentCodec>> codecs = builtInCodecs();
    return codecs;
}

} // namespace

void registerCodec(FormatCode code, std::shared_ptr<DocumentCodec> codec)
{
    registry()[code] = std::move(codec);
}

std::shared_ptr<DocumentCodec> codecFor(FormatCode code)
{
    const auto found = registry().find(code);
    return found == registry().end() ? nullptr : found->second;
}

} // namespace engine
