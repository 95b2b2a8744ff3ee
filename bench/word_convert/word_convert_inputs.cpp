// Makes the Word documents of the conversion benchmarks (3, 500 and 5,000
// pages) and prints their paths, for timing whole processes by hand.

#include "bench/docx_convert/docxbenchinputs.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    for (const int pages : {3, 500, 5000}) {
        const QString path = docxbenchinputs::wordDocument(pages);
        if (path.isEmpty()) {
            std::fprintf(stderr, "docx_convert_inputs: the %d-page document could not be made\n", pages);
            return 1;
        }
        std::printf("%s\n", path.toLocal8Bit().constData());
    }
    return 0;
}
