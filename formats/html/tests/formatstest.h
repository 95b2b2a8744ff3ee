#pragma once
// Helpers shared by the format tests: engines filled from HTML files, and
// documents written through the dialect writer the way the editor saves.

#include "engine/textengine.h"
#include "env/mclt.h"
#include "formats/html/enginehtmlexport.h"
#include "formats/html/htmlimport.h"
#include "formats/html/tooltiptable.h"
#include "html/yhtm.h"
#include "testsupport/printers.h"

#include <QFont>
#include <QTextDocument>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>
#include <memory>

namespace formatstest {

inline const QString dataFolder = QStringLiteral(FUMI_TEST_DATA);
// The dialect writer's own golden documents.
inline const QString dialectGoldenFolder = QStringLiteral(FUMI_SOURCE_ROOT "/html/tests/data");

inline QString readText(const QString& path)
{
    return mClt::sReadUtf8(path).value_or(QString());
}

inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The default font of the tests' documents, alike on every machine.
inline QFont testDefaultFont()
{
    return QFont(QStringLiteral("Fumi Sans"), 9);
}

// A fresh engine holding `bytes` as the HTML codec reads a file kept in
// `folder`; null when the codec refuses them. Its document's default font is
// the tests' one, as an editor gives every document its own.
inline std::unique_ptr<engine::TextEngine> readHtmlBytes(const QByteArray& bytes, const QString& folder = {})
{
    auto engine = std::make_unique<engine::TextEngine>();
    engine->document()->setDefaultFont(testDefaultFont());
    if (!formats::HtmlImport().readFrom(bytes, folder, engine->documentSet()))
        return nullptr;
    return engine;
}

inline std::unique_ptr<engine::TextEngine> readHtml(const QString& path)
{
    return readHtmlBytes(readBytes(path), QFileInfo(path).absolutePath());
}

inline std::unique_ptr<engine::TextEngine> readHtmlText(const QString& html, const QString& folder = {})
{
    return readHtmlBytes(html.toUtf8(), folder);
}

// Writes the engine's document as the dialect to `path` (default user
// formats, the document's tool-tip table) and returns the file's text;
// empty when the writer failed.
inline QString writeDialect(engine::TextEngine& engine, const QString& path, const QString& title = QStringLiteral("題名"))
{
    html::yHtm writer(html::StyleSet::defaults());
    if (!writer.cSaveHtm(formats::engineExport(engine), false, path, formats::toolTipTable(*engine.document()), title))
        return {};
    return readText(path);
}

// The dialect written from `engine` to `folder`/doc.htm, and the dialect
// written again over it after reading it back, as opening and saving a
// document does; a fixed point makes them equal. Empty texts when a step
// failed.
inline std::pair<QString, QString> writeReadWrite(engine::TextEngine& engine, const QString& folder)
{
    const QString path = folder + QStringLiteral("/doc.htm");
    const QString first = writeDialect(engine, path);
    const std::unique_ptr<engine::TextEngine> again = first.isEmpty() ? nullptr : readHtml(path);
    return {first, again ? writeDialect(*again, path) : QString()};
}

} // namespace formatstest
