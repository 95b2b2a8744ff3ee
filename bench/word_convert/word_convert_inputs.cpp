// Makes the Word documents of the conversion benchmarks (.docx of 3, 500 and
// 5,000 pages, .rtf of 3 and 500, .doc of 500) and prints their paths, for timing whole
// processes by hand.

#include "bench/word_convert/wordbenchinputs.h"

#include <QGuiApplication>
#include <cstdio>

namespace {

bool report(const QString& path, int pages)
{
    if (path.isEmpty()) {
        std::fprintf(stderr, "word_convert_inputs: the %d-page document could not be made\n", pages);
        return false;
    }
    std::printf("%s\n", path.toLocal8Bit().constData());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    for (const int pages : {3, 500, 5000})
        if (!report(wordbenchinputs::wordDocument(pages), pages))
            return 1;
    for (const int pages : {3, 500})
        if (!report(wordbenchinputs::richTextDocument(pages), pages))
            return 1;
    if (!report(wordbenchinputs::word97Document(500), 500))
        return 1;
    return 0;
}
