#include "formats/rtf/rtfcodec.h"

#include "formats/rtf/rtfreader.h"
#include "formats/rtf/rtfwriter.h"

#include <QIODevice>

namespace formats::rtf {

bool RtfCodec::read(const QByteArray& bytes, const engine::DocumentSet& target)
{
    ReadOutcome outcome;
    if (bytes.size() <= maxInputBytes())
        outcome = readRtf(bytes, target);
    else
        outcome.failure = Failure::TooLarge;
    if (target.report) {
        target.report->refusal = failureMessage(outcome.failure);
        target.report->unreadableCharacters = outcome.unreadableCharacters;
        for (const word::Loss loss : outcome.report.losses)
            target.report->losses << describe(loss);
    }
    return outcome.ok();
}

bool RtfCodec::write(const engine::DocumentSet& source, QIODevice& out)
{
    if (!source.body)
        return false;
    const QByteArray bytes = writeRtf(source, styles());
    return out.write(bytes) == bytes.size();
}

void registerRtfCodec(const html::StyleSet& styles)
{
    engine::registerCodec(engine::FormatCode::Rtf, std::make_shared<RtfCodec>(styles));
}

} // namespace formats::rtf
