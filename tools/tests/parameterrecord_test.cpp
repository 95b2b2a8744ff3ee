#include "tools/parameterrecord.h"

#include <QtEndian>
#include <gtest/gtest.h>

using tools::ChartRecord;
using tools::PictureRecord;

namespace {

QByteArray padded(const QByteArray& text, int width)
{
    return text + QByteArray(width - text.size(), ' ');
}

} // namespace

TEST(ParameterRecord, PictureRequestIsLaidOutByteForByte)
{
    PictureRecord request;
    request.folder = QStringLiteral("C:\\作業\\");
    request.result = QStringLiteral("*.*");
    request.width = 1000;
    request.height = 667;
    const QByteArray expected = padded("C:\\\x8D\xEC\x8B\xC6\\", 255) + padded("*.png", 10) + padded("*.*", 255)
        + QByteArray::fromHex("e8030000" "9b020000" "0000" "0000");
    const std::optional<QByteArray> bytes = tools::encodeRecord(request);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 532);
    EXPECT_EQ(*bytes, expected);
}

TEST(ParameterRecord, GraphAndChartRequestIsLaidOutByteForByte)
{
    ChartRecord request;
    request.folder = QStringLiteral("/home/u/Wrk/");
    const QByteArray expected =
        padded("/home/u/Wrk/", 255) + padded("*.bmp", 10) + padded("", 255) + QByteArray::fromHex("0000");
    const std::optional<QByteArray> bytes = tools::encodeRecord(request);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 522);
    EXPECT_EQ(*bytes, expected);
}

TEST(ParameterRecord, AnswersAreReadFromTheirFields)
{
    QByteArray picture = padded("/w/", 255) + padded("*.png", 10)
        + padded(QByteArray("  /w/\x83\x4F\x83\x89\x83\x74.png\0rest", 20), 255)
        + QByteArray::fromHex("10000000" "20000000" "feff" "ffff");
    const std::optional<PictureRecord> answer = tools::decodePictureRecord(picture);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->result, QStringLiteral("/w/グラフ.png"));
    EXPECT_EQ(answer->width, 16);
    EXPECT_EQ(answer->height, 32);
    EXPECT_EQ(answer->code, -2);
    EXPECT_EQ(answer->ok, -1);

    const QByteArray chart = padded("/w/", 255) + padded("*.bmp", 10) + padded("/w/c.bmp", 255)
        + QByteArray::fromHex("0100");
    const std::optional<ChartRecord> chartAnswer = tools::decodeChartRecord(chart);
    ASSERT_TRUE(chartAnswer);
    EXPECT_EQ(chartAnswer->result, QStringLiteral("/w/c.bmp"));
    EXPECT_EQ(chartAnswer->ok, 1);
}

TEST(ParameterRecord, ARecordOfAnotherSizeIsNoAnswer)
{
    for (int size : {0, 100, 521, 523, 531, 533}) {
        const QByteArray bytes(size, ' ');
        EXPECT_FALSE(tools::decodePictureRecord(bytes)) << size;
        EXPECT_FALSE(tools::decodeChartRecord(bytes)) << size;
    }
}

// A folder cut at 255 bytes, or with characters turned into "?", would send
// the program's picture somewhere else.
TEST(ParameterRecord, AFolderTheFieldCannotHoldIsRefused)
{
    PictureRecord request;
    request.folder = QString(255, u'a');
    EXPECT_TRUE(tools::encodeRecord(request));
    request.folder = QString(256, u'a');
    EXPECT_FALSE(tools::encodeRecord(request));
    request.folder = QString(127, u'あ') + u'a'; // 255 bytes in the code page
    EXPECT_TRUE(tools::encodeRecord(request));
    request.folder = QString(128, u'あ');
    EXPECT_FALSE(tools::encodeRecord(request));
    ChartRecord chart;
    chart.folder = QStringLiteral("/home/😀/Wrk/");
    EXPECT_FALSE(tools::encodeRecord(chart));
}

TEST(ParameterRecord, TrimNulCutsAtTheFirstNulAndTrims)
{
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("  a.png  "), QStringLiteral("a.png")},
        {QStringLiteral("a.png") + QChar(0) + QStringLiteral("junk"), QStringLiteral("a.png")},
        {QStringLiteral(" a.png ") + QChar(0) + QStringLiteral(" "), QStringLiteral("a.png")},
        {QString(QChar(0)) + QStringLiteral("a.png"), QString()},
        {QString(), QString()},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(tools::TrimNul(text), expected) << text.toStdString();
}
