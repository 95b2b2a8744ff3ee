#include "engine/textdecoding.h"

#include <QStringDecoder>

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucsdet.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace engine {

namespace {

const QByteArray kCp932("windows-31j");
const QByteArray kUtf8("UTF-8");

// The detector reads this much from the start of a file: enough for any
// language to show, and the time stays the same for every file size.
constexpr qsizetype kDetectionSample = 64 * 1024;
// ICU gives this to every character set the bytes merely do not contradict.
constexpr int32_t kNoEvidence = 10;

struct Mark {
    QByteArray bytes;
    QByteArray charset;
};

const Mark kMarks[] = {
    {QByteArray("\xEF\xBB\xBF"), "UTF-8"},
    {QByteArray("\xFF\xFE"), "UTF-16LE"},
    {QByteArray("\xFE\xFF"), "UTF-16BE"},
};

// The names files give for the character sets the program treats as one:
// Japanese Windows files labelled Shift_JIS are CP932, and Western files
// labelled Latin-1 or ASCII are Windows-1252, as browsers read them. A label
// read from ASCII bytes cannot mean UTF-16.
QByteArray charsetMeant(QByteArrayView declared)
{
    const QByteArray name = declared.toByteArray().trimmed().toLower();
    for (const char* cp932 : {"shift_jis", "shift-jis", "sjis", "x-sjis", "ms_kanji", "csshiftjis", "cp932",
                              "ms932", "windows-31j"})
        if (name == cp932)
            return kCp932;
    for (const char* western : {"iso-8859-1", "iso8859-1", "latin1", "us-ascii", "ascii"})
        if (name == western)
            return QByteArrayLiteral("windows-1252");
    if (name.startsWith("utf-16") || name == "unicode")
        return kUtf8;
    return name;
}

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// Writes U+FFFD for every sequence the converter cannot read and counts it.
// (ICU's own substitution writes U+001A for some code pages.)
void substituteAndCount(const void* context, UConverterToUnicodeArgs* args, const char*, int32_t,
                        UConverterCallbackReason reason, UErrorCode* status)
{
    if (reason > UCNV_IRREGULAR)
        return;
    ++*static_cast<qsizetype*>(const_cast<void*>(context));
    const UChar replacement = 0xFFFD;
    *status = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, status);
}

Converter openConverter(const QByteArray& charset, qsizetype* unreadable)
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(charset.constData(), &status));
    if (U_FAILURE(status))
        return nullptr;
    ucnv_setToUCallBack(converter.get(), substituteAndCount, unreadable, nullptr, nullptr, &status);
    return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

// Decodes all of `bytes`, a sequence cut off at the end included.
std::optional<DecodedText> decodeWith(const QByteArray& charset, QByteArrayView bytes)
{
    if (bytes.size() >= std::numeric_limits<int32_t>::max())
        return std::nullopt;
    // Most character sets make at most one UTF-16 unit a byte; the others
    // are decoded again with the length ICU asks for.
    qsizetype capacity = bytes.size() + 1;
    for (int attempt = 0; attempt < 2; ++attempt) {
        DecodedText decoded;
        const Converter converter = openConverter(charset, &decoded.unreadable);
        if (!converter)
            return std::nullopt;
        decoded.text.resize(capacity);
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = ucnv_toUChars(converter.get(), reinterpret_cast<UChar*>(decoded.text.data()),
                                             int32_t(capacity), bytes.data(), int32_t(bytes.size()), &status);
        if (U_SUCCESS(status)) {
            decoded.text.truncate(length);
            return decoded;
        }
        if (status != U_BUFFER_OVERFLOW_ERROR)
            return std::nullopt;
        capacity = qsizetype(length) + 1;
    }
    return std::nullopt;
}

std::optional<QString> validUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    return decoder.hasError() ? std::nullopt : std::optional<QString>(std::move(text));
}

bool isJapanese(const QByteArray& charset)
{
    return charset == "Shift_JIS" || charset == "EUC-JP" || charset == "ISO-2022-JP";
}

// Kana and Japanese punctuation, read from bytes that are valid CP932
// throughout (but for a character cut off at the end): Western text read as
// CP932 gives isolated ideographs at most.
bool readsAsJapanese(QByteArrayView sample)
{
    const std::optional<DecodedText> decoded = decodeWith(kCp932, sample);
    const bool valid = decoded
        && (decoded->unreadable == 0 || (decoded->unreadable == 1 && decoded->text.endsWith(QChar(0xFFFD))));
    return valid
        && std::any_of(decoded->text.cbegin(), decoded->text.cend(),
                       [](QChar c) { return c.unicode() >= 0x3001 && c.unicode() <= 0x30FF; });
}

// The start of `bytes`, ending at a line end so that no character is cut.
QByteArrayView detectionSample(QByteArrayView bytes)
{
    if (bytes.size() <= kDetectionSample)
        return bytes;
    const QByteArrayView sample = bytes.first(kDetectionSample);
    const qsizetype lineEnd = sample.lastIndexOf('\n');
    return lineEnd > 0 ? sample.first(lineEnd + 1) : sample;
}

struct DetectorCloser {
    void operator()(UCharsetDetector* detector) const { ucsdet_close(detector); }
};

struct Candidate {
    QByteArray charset;
    int32_t confidence = 0;
};

// ICU's matches, best first.
std::vector<Candidate> detectorCandidates(QByteArrayView sample, TextMarkup markup)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UCharsetDetector, DetectorCloser> detector(ucsdet_open(&status));
    if (U_FAILURE(status))
        return {};
    ucsdet_enableInputFilter(detector.get(), markup == TextMarkup::Html);
    ucsdet_setText(detector.get(), sample.data(), int32_t(sample.size()), &status);
    int32_t count = 0;
    const UCharsetMatch** matches = ucsdet_detectAll(detector.get(), &count, &status);
    std::vector<Candidate> candidates;
    for (int32_t i = 0; U_SUCCESS(status) && i < count; ++i) {
        const char* name = ucsdet_getName(matches[i], &status);
        const int32_t confidence = ucsdet_getConfidence(matches[i], &status);
        if (U_SUCCESS(status))
            candidates.push_back({QByteArray(name), confidence});
    }
    return candidates;
}

// For bytes that are not valid UTF-8 and declare nothing. ICU lists UTF-8
// only when the valid sequences far outnumber the broken ones: then a few
// bad bytes are damage, not another character set.
QByteArray detectedCharset(QByteArrayView bytes, TextMarkup markup)
{
    const QByteArrayView sample = detectionSample(bytes);
    const std::vector<Candidate> candidates = detectorCandidates(sample, markup);
    const auto utf8 = std::find_if(candidates.begin(), candidates.end(),
                                   [](const Candidate& c) { return c.charset == kUtf8 && c.confidence > 0; });
    if (utf8 != candidates.end())
        return kUtf8;
    const bool evidence = !candidates.empty() && candidates.front().confidence > kNoEvidence;
    const QByteArray best = evidence ? candidates.front().charset : QByteArray();
    if (isJapanese(best))
        return best == "Shift_JIS" ? kCp932 : best;
    if (!evidence || readsAsJapanese(sample))
        return kCp932;
    return best;
}

std::optional<DecodedText> decodeUtf8(QByteArrayView bytes)
{
    if (std::optional<QString> text = validUtf8(bytes))
        return DecodedText{std::move(*text), 0};
    return decodeWith(kUtf8, bytes);
}

std::optional<DecodedText> decodeAs(const QByteArray& charset, QByteArrayView bytes)
{
    return charset.compare(kUtf8, Qt::CaseInsensitive) == 0 ? decodeUtf8(bytes) : decodeWith(charset, bytes);
}

} // namespace

DecodedText decodeText(QByteArrayView bytes, TextMarkup markup, QByteArrayView declaredCharset)
{
    for (const Mark& mark : kMarks)
        if (bytes.startsWith(mark.bytes))
            if (std::optional<DecodedText> decoded = decodeAs(mark.charset, bytes.sliced(mark.bytes.size())))
                return std::move(*decoded);
    if (!declaredCharset.isEmpty())
        if (std::optional<DecodedText> decoded = decodeAs(charsetMeant(declaredCharset), bytes))
            return std::move(*decoded);
    if (std::optional<QString> text = validUtf8(bytes))
        return {std::move(*text), 0};
    if (std::optional<DecodedText> decoded = decodeAs(detectedCharset(bytes, markup), bytes))
        return std::move(*decoded);
    return decodeWith(kCp932, bytes).value_or(DecodedText{});
}

} // namespace engine
