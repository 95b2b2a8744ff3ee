#include "browser/fileclipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

using browser::ClipboardFiles;
using browser::DropEffect;
using browser::FileClipboard;

namespace {

const QString kGnome = QStringLiteral("x-special/gnome-copied-files");
const QString kKde = QStringLiteral("application/x-kde-cutselection");
const QString kWindows = QStringLiteral("application/x-qt-windows-mime;value=\"Preferred DropEffect\"");
const QString kUris = QStringLiteral("text/uri-list");

const QStringList kPaths = {QStringLiteral("/tmp/文書 1.htm"), QStringLiteral("/tmp/a#b%c.rtf"),
                            QStringLiteral("/home/u/ﾒﾓ.txt")};

std::unique_ptr<QMimeData> mime(std::initializer_list<std::pair<QString, QByteArray>> parts)
{
    auto data = std::make_unique<QMimeData>();
    for (const auto& [format, bytes] : parts)
        data->setData(format, bytes);
    return data;
}

TEST(FileClipboard, CopiedAndCutFilesComeBackAsTheyWent)
{
    for (const DropEffect effect : {DropEffect::Copy, DropEffect::Move}) {
        const std::unique_ptr<QMimeData> data(FileClipboard::encode(kPaths, effect));
        const auto files = FileClipboard::decode(data.get());
        ASSERT_TRUE(files);
        EXPECT_EQ(files->paths, kPaths);
        EXPECT_EQ(files->effect, effect);
    }
}

TEST(FileClipboard, WritesEveryFileManagerFormat)
{
    const std::unique_ptr<QMimeData> cut(FileClipboard::encode(kPaths, DropEffect::Move));
    const std::unique_ptr<QMimeData> copy(FileClipboard::encode(kPaths, DropEffect::Copy));
    const QByteArray firstUri = QUrl::fromLocalFile(kPaths[0]).toEncoded();

    EXPECT_TRUE(cut->data(kGnome).startsWith("cut\n" + firstUri + '\n'));
    EXPECT_TRUE(copy->data(kGnome).startsWith("copy\n" + firstUri + '\n'));
    EXPECT_FALSE(copy->data(kGnome).endsWith('\n'));
    EXPECT_EQ(cut->data(kKde), QByteArray("1"));
    EXPECT_EQ(copy->data(kKde), QByteArray("0"));
    EXPECT_EQ(cut->data(kWindows), QByteArray("\x02\x00\x00\x00", 4));
    EXPECT_EQ(copy->data(kWindows), QByteArray("\x05\x00\x00\x00", 4));
    EXPECT_EQ(cut->urls().size(), 3);
    EXPECT_EQ(cut->urls().first().toLocalFile(), kPaths[0]);
    EXPECT_TRUE(cut->data(kUris).startsWith(firstUri + "\r\n"));
}

struct DecodeRow {
    const char* name;
    std::vector<std::pair<QString, QByteArray>> parts;
    bool files;
    DropEffect effect;
};

class FileClipboardDecode : public ::testing::TestWithParam<DecodeRow> {};

TEST_P(FileClipboardDecode, ReadsTheEffectOtherProgramsLeave)
{
    const DecodeRow& row = GetParam();
    QMimeData data;
    for (const auto& [format, bytes] : row.parts)
        data.setData(format, bytes);
    const auto files = FileClipboard::decode(&data);
    ASSERT_EQ(files.has_value(), row.files) << row.name;
    if (files) {
        EXPECT_EQ(files->effect, row.effect) << row.name;
        EXPECT_EQ(files->paths, QStringList{QStringLiteral("/tmp/a.htm")}) << row.name;
    }
}

const QByteArray kUri = "file:///tmp/a.htm";

INSTANTIATE_TEST_SUITE_P(
    Rows, FileClipboardDecode,
    ::testing::Values(
        // A bare URI list says neither copy nor cut: such files are not pasted.
        DecodeRow{"bare list", {{kUris, kUri + "\r\n"}}, true, DropEffect::None},
        DecodeRow{"gnome copy", {{kGnome, "copy\n" + kUri}}, true, DropEffect::Copy},
        DecodeRow{"gnome cut", {{kGnome, "cut\n" + kUri + "\n"}}, true, DropEffect::Move},
        DecodeRow{"gnome unknown verb", {{kGnome, "link\n" + kUri}}, true, DropEffect::None},
        DecodeRow{"kde cut", {{kUris, kUri}, {kKde, "1"}}, true, DropEffect::Move},
        DecodeRow{"kde not cut", {{kUris, kUri}, {kKde, "0"}}, true, DropEffect::Copy},
        DecodeRow{"windows copy+link", {{kUris, kUri}, {kWindows, QByteArray("\x05\0\0\0", 4)}}, true, DropEffect::Copy},
        DecodeRow{"windows move", {{kUris, kUri}, {kWindows, QByteArray("\x02\0\0\0", 4)}}, true, DropEffect::Move},
        DecodeRow{"windows link only", {{kUris, kUri}, {kWindows, QByteArray("\x04\0\0\0", 4)}}, true, DropEffect::None},
        // The Windows value wins over the others.
        DecodeRow{"windows over gnome", {{kGnome, "cut\n" + kUri}, {kWindows, QByteArray("\x05\0\0\0", 4)}}, true, DropEffect::Copy},
        // Too short to hold a value: the other markers decide.
        DecodeRow{"short windows value", {{kGnome, "cut\n" + kUri}, {kWindows, QByteArray("\x05\0", 2)}}, true, DropEffect::Move},
        DecodeRow{"comments and blanks", {{kUris, "# comment\r\n\r\n" + kUri + "\r\n"}, {kKde, "1"}}, true, DropEffect::Move},
        DecodeRow{"web address only", {{kUris, "https://example.org/a.htm"}, {kKde, "1"}}, false, DropEffect::None},
        DecodeRow{"text only", {{QStringLiteral("text/plain"), "/tmp/a.htm"}}, false, DropEffect::None},
        DecodeRow{"nothing", {}, false, DropEffect::None}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

TEST(FileClipboard, NullDataAndDuplicatesAreHandled)
{
    EXPECT_FALSE(FileClipboard::decode(nullptr));
    const auto data = mime({{kUris, kUri + "\r\n" + kUri}, {kKde, "1"}});
    const auto files = FileClipboard::decode(data.get());
    ASSERT_TRUE(files);
    EXPECT_EQ(files->paths.size(), 1);
}

TEST(FileClipboard, TravelsThroughTheSystemClipboard)
{
    FileClipboard::put(kPaths, DropEffect::Move);
    const auto files = FileClipboard::read();
    ASSERT_TRUE(files);
    EXPECT_EQ(files->paths, kPaths);
    EXPECT_EQ(files->effect, DropEffect::Move);
    EXPECT_TRUE(FileClipboard::canPaste());

    QApplication::clipboard()->setText(QStringLiteral("/tmp/a.htm"));
    EXPECT_FALSE(FileClipboard::read());
    EXPECT_FALSE(FileClipboard::canPaste());

    QApplication::clipboard()->setMimeData(mime({{kUris, kUri}}).release());
    EXPECT_TRUE(FileClipboard::read());
    EXPECT_FALSE(FileClipboard::canPaste());
}

} // namespace
