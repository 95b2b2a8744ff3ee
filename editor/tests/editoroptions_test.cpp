#include "editor/editoroptions.h"

#include "editortestsupport.h"

using editor::DisplayValues;
using editor::EditorOptions;

namespace {

struct Options : ::testing::Test {
    editortest::Environment environment;
    env::yIni& ini = env::gxIni();
};

} // namespace

TEST_F(Options, MissingKeysTakeTheirDefaults)
{
    EditorOptions options;
    options.textFlow = 1;
    const DisplayValues display = options.load(ini, {}, EditorOptions::Level::Everything);
    EXPECT_EQ(display.mode, 0);
    EXPECT_EQ(display.zoom, 100);
    EXPECT_TRUE(display.controlCharacters);
    EXPECT_FALSE(options.rulerShown);
    EXPECT_EQ(options.barLayout, QString());
    EXPECT_EQ(options.ime, QStringLiteral("OFF"));
    EXPECT_EQ(options.updateRule, QStringLiteral("確認"));
    EXPECT_EQ(options.pictureFolder, QString());
    EXPECT_EQ(options.textFlow, 1) << "the default is the value the editor set at start";
    EXPECT_EQ(options.pictureColour, 0);
    EXPECT_FALSE(options.pasteAsText());
}

TEST_F(Options, StoredValuesLoadBackIdentically)
{
    EditorOptions options;
    options.rulerShown = true;
    options.barLayout = QStringLiteral("1-1-N-tlBar:2-0-R-frFmt:3-1-N-vButton:4-1-N-vStatus:");
    options.ime = QStringLiteral("ON");
    options.updateRule = QStringLiteral("上書");
    options.pictureFolder = QStringLiteral("/home/user/画像");
    options.textFlow = 4;
    options.pictureColour = 2;
    options.setPasteAsText(true);
    const DisplayValues display{2, 135, false};
    options.store(ini, QStringLiteral("Sub"), display);

    EditorOptions loaded;
    const DisplayValues read = loaded.load(ini, QStringLiteral("Sub"), EditorOptions::Level::Everything);
    EXPECT_EQ(read.mode, 2);
    EXPECT_EQ(read.zoom, 135);
    EXPECT_FALSE(read.controlCharacters);
    EXPECT_TRUE(loaded.rulerShown);
    EXPECT_EQ(loaded.barLayout, options.barLayout);
    EXPECT_EQ(loaded.imeAnswer(), QStringLiteral("ON\t上書"));
    EXPECT_EQ(loaded.pictureFolder, options.pictureFolder);
    EXPECT_EQ(loaded.pictureAnswer(), QStringLiteral("42"));
    EXPECT_TRUE(loaded.pasteAsText());

    EXPECT_EQ(editortest::Environment::setting(QStringLiteral("SubTX_DISP"), QStringLiteral("C_CH")),
              QStringLiteral("非表示"));
    EXPECT_EQ(editortest::Environment::setting(QStringLiteral("SubTX_BAR"), QStringLiteral("RULE")),
              QStringLiteral("表示"));
    EXPECT_EQ(editortest::Environment::setting(QStringLiteral("TX_USR"), QStringLiteral("PAST_TX")),
              QStringLiteral("Text"));
}

TEST_F(Options, LaterLevelsReadTheDisplayValuesAlone)
{
    editortest::Environment::store(QStringLiteral("TX_DISP"), QStringLiteral("ZOOM"), QStringLiteral("80"));
    editortest::Environment::store(QStringLiteral("TX_USR"), QStringLiteral("IME"), QStringLiteral("ON"));
    editortest::Environment::store(QStringLiteral("TX_BAR"), QStringLiteral("RULE"), QStringLiteral("表示"));
    for (const auto level : {EditorOptions::Level::Display, EditorOptions::Level::DisplayOnly}) {
        EditorOptions options;
        EXPECT_EQ(options.load(ini, {}, level).zoom, 80);
        EXPECT_FALSE(options.imeOn());
        EXPECT_FALSE(options.rulerShown);
    }
}

TEST_F(Options, ShownValuesAreComparedExactly)
{
    editortest::Environment::store(QStringLiteral("TX_DISP"), QStringLiteral("C_CH"), QStringLiteral("表示 "));
    EditorOptions options;
    EXPECT_FALSE(options.load(ini, {}, EditorOptions::Level::Everything).controlCharacters);
}

struct ZoomRow {
    int current;
    QVariant argument;
    std::optional<int> expected;
};

class ZoomArgument : public ::testing::TestWithParam<ZoomRow> {};

TEST_P(ZoomArgument, GivesTheNewZoomOrNothing)
{
    const ZoomRow& row = GetParam();
    EXPECT_EQ(EditorOptions::zoomFor(row.current, row.argument), row.expected) << row.argument.toString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, ZoomArgument,
                         ::testing::Values(ZoomRow{100, QStringLiteral("拡大"), 120},
                                           ZoomRow{120, QStringLiteral("縮小"), 100},
                                           ZoomRow{100, 11, 11}, ZoomRow{100, 999, 999},
                                           ZoomRow{100, QStringLiteral("150"), 150},
                                           ZoomRow{100, 10, std::nullopt}, ZoomRow{100, 1000, std::nullopt},
                                           ZoomRow{100, 0, std::nullopt},
                                           ZoomRow{100, QStringLiteral("大きく"), std::nullopt},
                                           ZoomRow{100, QVariant(), std::nullopt}));

TEST(ImeAnswer, TakesBothPartsOfAnAnswerWithATab)
{
    EditorOptions options;
    options.takeImeAnswer(QStringLiteral("ON\t無視"));
    EXPECT_TRUE(options.imeOn());
    EXPECT_EQ(options.updateRule, QStringLiteral("無視"));
    for (const QString& ignored : {QString(), QStringLiteral("OFF"), QStringLiteral("OFF 上書")}) {
        options.takeImeAnswer(ignored);
        EXPECT_EQ(options.imeAnswer(), QStringLiteral("ON\t無視")) << ignored.toStdString();
    }
}

TEST(PictureAnswer, FirstDigitIsTheTextFlowAndLastTheColour)
{
    EditorOptions options;
    options.textFlow = 2;
    options.pictureColour = 0;
    EXPECT_EQ(options.pictureAnswer(), QStringLiteral("20"));
    options.takePictureAnswer(QStringLiteral("31"));
    EXPECT_EQ(options.textFlow, 3);
    EXPECT_EQ(options.pictureColour, 1);
    for (const QString& ignored : {QString(), QStringLiteral("4"), QStringLiteral("4x"), QStringLiteral("412")}) {
        options.takePictureAnswer(ignored);
        EXPECT_EQ(options.pictureAnswer(), QStringLiteral("31")) << ignored.toStdString();
    }
}
