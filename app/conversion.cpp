#include "app/conversion.h"

#include "formats/convertfile.h"
#include "formats/doc/doccodec.h"
#include "formats/docx/docxcodec.h"
#include "formats/rtf/rtfcodec.h"

#include <cstdio>
#include <cstring>

namespace app {

namespace {
const char* const kUsage = "使い方 / usage: fumi --convert-to htm|txt|rtf|doc|docx|pdf [--outdir DIR] FILE...\n";

void printLine(const QString& line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}
} // namespace

bool asksForConversion(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--convert-to") == 0)
            return true;
    return false;
}

std::optional<ConversionRequest> conversionRequest(const QStringList& arguments)
{
    if (!arguments.contains(QStringLiteral("--convert-to")))
        return std::nullopt;
    ConversionRequest request;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--convert-to"))
            request.targetExtension = arguments.value(++i);
        else if (a == QLatin1String("--outdir"))
            request.outDir = arguments.value(++i);
        else
            request.files << a;
    }
    if (request.targetExtension.startsWith(u'.'))
        request.targetExtension.remove(0, 1);
    return request;
}

int runConversion(const QStringList& arguments)
{
    const std::optional<ConversionRequest> request = conversionRequest(arguments);
    if (!request || request->targetExtension.isEmpty() || request->files.isEmpty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    int status = 0;
    formats::docx::registerDocxCodec();
    formats::rtf::registerRtfCodec();
    formats::doc::registerDocCodec();
    formats::ConversionRun run(request->files);
    for (const QString& file : request->files) {
        const formats::ConversionOutcome outcome = run.convert(file, request->targetExtension, request->outDir);
        for (const QString& warning : outcome.warnings)
            printLine(QStringLiteral("fumi: ") + file + QStringLiteral(": ") + warning);
        if (!outcome.written) {
            printLine(QStringLiteral("fumi: ") + file + QStringLiteral(": ") + outcome.reason);
            status = 1;
        }
    }
    return status;
}

} // namespace app
