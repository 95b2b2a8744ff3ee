#include "textfold/transliteration.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <map>
#include <memory>
#include <string>

namespace textfold {

namespace {

// Making a transliterator parses its rules, which costs far more than using
// it on a word; each thread keeps the ones it made (an instance must not be
// shared between threads). A null entry remembers an id ICU cannot make.
const icu::Transliterator* transliterator(const char* id)
{
    thread_local std::map<std::string, std::unique_ptr<icu::Transliterator>> made;
    const auto found = made.find(id);
    if (found != made.end())
        return found->second.get();
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> created(
        icu::Transliterator::createInstance(icu::UnicodeString::fromUTF8(id), UTRANS_FORWARD, status));
    if (U_FAILURE(status))
        created.reset();
    return made.emplace(id, std::move(created)).first->second.get();
}

} // namespace

QString transliterated(const char* id, QStringView text)
{
    const icu::Transliterator* converter = transliterator(id);
    if (!converter || text.isEmpty())
        return text.toString();
    icu::UnicodeString buffer(reinterpret_cast<const UChar*>(text.utf16()), int32_t(text.size()));
    converter->transliterate(buffer);
    return QString(reinterpret_cast<const QChar*>(buffer.getBuffer()), buffer.length());
}

} // namespace textfold
