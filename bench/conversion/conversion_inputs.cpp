// Writes the conversion benchmarks' inputs into a folder, for timing whole
// processes by hand: "conversion_inputs DIR" makes DIR/manual.html (8 MB of
// foreign HTML) and DIR/document.htm (the dialect of a 500-page document).

#include "bench/conversion/benchinputs.h"
#include "engine/textengine.h"
#include "formats/html/enginehtmlexport.h"
#include "formats/html/tooltiptable.h"
#include "html/yhtm.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2 || !QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
        std::fputs("usage: conversion_inputs DIR\n", stderr);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QFile manual(folder.filePath(QStringLiteral("manual.html")));
    if (!manual.open(QIODevice::WriteOnly) || manual.write(benchinputs::foreignManual(qsizetype(8) << 20)) < 0)
        return 1;
    engine::TextEngine engine;
    benchinputs::buildDocument(*engine.document(), 500);
    const bool saved = html::yHtm(html::StyleSet::defaults())
                           .cSaveHtm(formats::engineExport(engine), false, folder.filePath(QStringLiteral("document.htm")),
                                     formats::toolTipTable(*engine.document()), QStringLiteral("bench"));
    return saved ? 0 : 1;
}
