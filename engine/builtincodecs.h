#pragma once
// The codecs the engine itself provides, keyed by format code.

#include "engine/documentcodec.h"

#include <map>

namespace engine {

std::map<FormatCode, std::shared_ptr<DocumentCodec>> builtInCodecs();

} // namespace engine
