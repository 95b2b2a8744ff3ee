#pragma once
// Word 97–2003 documents as a host hands them over, for the data transfer
// and template tests: format 9 is served by the Word codec, watched, for as
// long as a test runs, so that these cases do not wait for LibreOffice (the
// real .doc codec has its own interop cases).

#include "editor/utxm.h"
#include "engine/documentcodec.h"
#include "formats/docx/docxcodec.h"
#include "formats/docx/tests/watchedcodec.h"

#include <gtest/gtest.h>
#include <memory>

namespace editortest {

struct WordServedByDocx {
    WordServedByDocx()
    {
        formats::docx::registerDocxCodec();
        engine::registerCodec(engine::FormatCode::Doc, codec);
    }
    ~WordServedByDocx() { engine::registerCodec(engine::FormatCode::Doc, nullptr); }
    WordServedByDocx(const WordServedByDocx&) = delete;
    WordServedByDocx& operator=(const WordServedByDocx&) = delete;

    std::shared_ptr<docxtest::WatchedWordCodec> codec = std::make_shared<docxtest::WatchedWordCodec>();
};

// `text` as the bytes another editor hands over.
inline QByteArray wordBytesOf(const QString& text)
{
    editor::uTxm other;
    other.cOn(2, 4);
    other.SetText(text);
    const editor::DocumentData data = other.GetData();
    EXPECT_TRUE(data.ok);
    return data.bytes;
}

} // namespace editortest
