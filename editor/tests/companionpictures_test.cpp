#include "editor/picturetools.h"
#include "editor/utxm.h"

#include "dialogs/popupmenus.h"
#include "editortestsupport.h"
#include "engine/objects.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "tools/tests/standins.h"
#include "tools/zktl.h"

#include <QAction>
#include <QImageReader>
#include <QImageWriter>
#include <QRubberBand>
#include <QTest>
#include <QTextCursor>
#include <QTextFormat>
#include <QTextDocument>

using editor::uTxm;

TEST(PictureRules, TheScaleFollowsTheScreensPixelsPerInch)
{
    EXPECT_EQ(editor::pictureScale(96), 100);
    EXPECT_EQ(editor::pictureScale(120), 80);
    EXPECT_EQ(editor::pictureScale(144), 67);
    EXPECT_EQ(editor::pictureScale(72), 133);
    EXPECT_EQ(editor::pictureScale(0), 100);
}

TEST(PictureRules, TextFlowSettingsGiveTheirPlacements)
{
    EXPECT_EQ(editor::placementForFlow(0), engine::PictureInline);
    EXPECT_EQ(editor::placementForFlow(1), engine::PictureInline);
    EXPECT_EQ(editor::placementForFlow(2), engine::PictureFloatLeft);
    EXPECT_EQ(editor::placementForFlow(3), engine::PictureFloatRight);
    EXPECT_EQ(editor::placementForFlow(4), engine::PictureTextFlow);
    EXPECT_EQ(int(editor::placementForFlow(3)), 2);
}

TEST(PictureRules, ADrawnRectangleAsksForItsSizeAtFullZoom)
{
    const std::optional<QSizeF> size = editor::drawnPictureSize(QSizeF(1500, 1000), 150);
    ASSERT_TRUE(size);
    EXPECT_DOUBLE_EQ(size->width(), 1000);
    EXPECT_NEAR(size->height(), 666.67, 0.005);
    EXPECT_EQ(editor::drawnPictureSize(QSizeF(16, 16), 100), QSizeF(16, 16));
    EXPECT_FALSE(editor::drawnPictureSize(QSizeF(15, 900), 100));
    EXPECT_FALSE(editor::drawnPictureSize(QSizeF(900, 15), 100));
}

TEST(PictureRules, AGraphsFileIsGivenNinetySixDotsPerInchInItsOwnFormat)
{
    testsupport::TempFolder dir;
    const QString path = dir.path(QStringLiteral("chart.bmp"));
    QImage image(30, 10, QImage::Format_RGB32);
    image.fill(Qt::green);
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(1000);
    ASSERT_TRUE(QImageWriter(path, "BMP").write(image));
    ASSERT_TRUE(editor::setResolutionTo96(path));
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), QByteArray("bmp"));
    const QImage saved = reader.read();
    EXPECT_EQ(saved.size(), QSize(30, 10));
    EXPECT_EQ(saved.dotsPerMeterX(), 3780);
    EXPECT_EQ(saved.dotsPerMeterY(), 3780);
    EXPECT_FALSE(editor::setResolutionTo96(dir.path(QStringLiteral("missing.bmp"))));
    EXPECT_FALSE(editor::setResolutionTo96(dir.write(QStringLiteral("junk.bmp"), "BM not a bitmap")));
}

namespace {

struct CompanionPictures : ::testing::Test {
    editortest::Environment environment;
    toolstest::CompanionFolders folders;
    std::unique_ptr<tools::zKtl> launcher;
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    void start(int flow, qint16 type = 4)
    {
        editortest::Environment::store(QStringLiteral("TX_USR"), QStringLiteral("TX_FLW"), QString::number(flow));
        editor.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(std::make_shared<std::vector<bool>>()));
        editor.cOn(1, type);
        engine.setPlainText(QStringLiteral("前後"));
        engine.setSelection(1, 0);
        editor.setDcEdt(false);
    }
    void install(const QString& relative)
    {
        folders.install(FUMI_STANDIN_answering, relative);
        launcher = std::make_unique<tools::zKtl>();
        editor.setCompanionTools(launcher.get());
    }
    int onlyPicture() const
    {
        const int id = engine.nextObject(engine::kObjectKindPicture, 0);
        EXPECT_NE(id, 0);
        EXPECT_EQ(engine.nextObject(engine::kObjectKindPicture, id), 0);
        return id;
    }
    QVariant property(int id, int property) const { return engine::Objects(*engine.document()).property(id, property); }
    // The size the picture `id` is shown at, in 96-dpi pixels.
    QSizeF shownSize(int id) const
    {
        const std::optional<int> at = engine::Objects(*engine.document()).picturePosition(id);
        QTextCursor cursor(engine.document());
        cursor.setPosition(*at + 1);
        const QTextImageFormat format = cursor.charFormat().toImageFormat();
        return {format.width(), format.height()};
    }
    QWidget* viewport() const { return editor.view()->viewport(); }
    bool askedThePictureProgram() const { return QFileInfo::exists(env::gsWrkPh + QStringLiteral("ZM_KA.pdat")); }
};

} // namespace

TEST_F(CompanionPictures, APictureFloatsAsTheTextFlowSaysAtTheScreensScale)
{
    start(3);
    install(QStringLiteral("apps/Tolvix/Tolvix"));
    editor.rtAct(33);
    const int id = onlyPicture();
    EXPECT_EQ(property(id, engine::ObjectPlacement).toInt(), 2);
    EXPECT_EQ(property(id, engine::ObjectSetting).toInt(), 1);
    EXPECT_EQ(property(id, engine::ObjectFileName).toString(), env::gsWrkPh + QStringLiteral("made.png"));
    const double scale = editor::pictureScale(editor.screenDpi()) / 100.0;
    EXPECT_EQ(shownSize(id), QSizeF(40 * scale, 30 * scale));
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_TRUE(editor.snapshotHeld());
}

TEST_F(CompanionPictures, WithFlowOneThePictureSitsInTheLine)
{
    start(1);
    install(QStringLiteral("apps/Tolvix/Tolvix"));
    editor.rtAct(33);
    const int id = onlyPicture();
    EXPECT_EQ(property(id, engine::ObjectPlacement).toInt(), int(engine::PictureInline));
    EXPECT_EQ(property(id, engine::ObjectSetting).toInt(), 1);
    EXPECT_EQ(engine.plainText().size(), 3);
}

TEST_F(CompanionPictures, ADocumentOfTypeThreeKeepsThePictureInTheLineWithItsFile)
{
    start(4, 3);
    install(QStringLiteral("apps/Tolvix/Tolvix"));
    editor.rtAct(33);
    const int id = onlyPicture();
    EXPECT_EQ(property(id, engine::ObjectPlacement).toInt(), int(engine::PictureInline));
    EXPECT_EQ(property(id, engine::ObjectSetting).toInt(), 0);
    EXPECT_EQ(property(id, engine::ObjectFileName).toString(), env::gsWrkPh + QStringLiteral("made.png"));
}

TEST_F(CompanionPictures, AGraphIsSavedAtNinetySixDotsPerInchAndInserted)
{
    start(2);
    install(QStringLiteral("apps/Marneth/Marneth"));
    editor.rtAct(42);
    const int id = onlyPicture();
    EXPECT_EQ(property(id, engine::ObjectPlacement).toInt(), int(engine::PictureFloatLeft));
    EXPECT_EQ(QImageReader(env::gsWrkPh + QStringLiteral("chart.bmp")).read().dotsPerMeterX(), 3780);
    EXPECT_TRUE(editor.bDcEdt());
}

TEST_F(CompanionPictures, AProgramNotFoundLeavesTheDocumentAsItWas)
{
    start(2);
    launcher = std::make_unique<tools::zKtl>();
    editor.setCompanionTools(launcher.get());
    editor.rtAct(43);
    EXPECT_EQ(engine.nextObject(engine::kObjectKindPicture, 0), 0);
    EXPECT_EQ(engine.plainText(), QStringLiteral("前後"));
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_FALSE(editor.snapshotHeld());
    EXPECT_EQ(environment.dialogs.messages(), QStringList{QStringLiteral("ﾁｬｰﾄの実行ﾌｧｲﾙ(Selbrin)が見つかりません｡")});
}

TEST_F(CompanionPictures, ADrawnRectangleAsksForItsSizeAtTheZoom)
{
    start(1);
    install(QStringLiteral("apps/Tolvix/Tolvix"));
    editor.resize(600, 400);
    editor.show();
    engine.setZoom(150);
    editor.rtAct(34);
    EXPECT_FALSE(askedThePictureProgram());
    const double twipsPerPixel = 1440.0 / viewport()->logicalDpiX();
    QTest::mousePress(viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(viewport(), QPoint(120, 86));
    const auto* band = viewport()->findChild<QRubberBand*>();
    ASSERT_TRUE(band);
    EXPECT_TRUE(band->isVisible());
    EXPECT_EQ(band->geometry(), QRect(QPoint(20, 20), QPoint(120, 86)));
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, QPoint(120, 86));
    EXPECT_FALSE(band->isVisible());
    // The stand-in draws 15 twips a pixel of the size it was asked for.
    const QSizeF asked = QSizeF(100 * twipsPerPixel, 66 * twipsPerPixel) * 100.0 / 150;
    const int id = onlyPicture();
    const double scale = editor::pictureScale(editor.screenDpi()) / 100.0;
    EXPECT_EQ(shownSize(id), QSizeF(qRound(asked.width()) / 15 * scale, qRound(asked.height()) / 15 * scale));
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_NE(viewport()->cursor().shape(), Qt::CrossCursor);
}

TEST_F(CompanionPictures, AClickWithoutDraggingStartsNothingAndEndsDrawing)
{
    start(1);
    install(QStringLiteral("apps/Tolvix/Tolvix"));
    editor.resize(600, 400);
    editor.show();
    editor.rtAct(34);
    EXPECT_EQ(viewport()->cursor().shape(), Qt::CrossCursor);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_FALSE(askedThePictureProgram());
    EXPECT_NE(viewport()->cursor().shape(), Qt::CrossCursor);
    // Drawing is over: a drag now is an ordinary one.
    QTest::mousePress(viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(viewport(), QPoint(200, 100));
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_FALSE(askedThePictureProgram());
    EXPECT_EQ(engine.nextObject(engine::kObjectKindPicture, 0), 0);
    EXPECT_FALSE(editor.bDcEdt());
}

TEST_F(CompanionPictures, TheObjectItemIsOfferedDisabled)
{
    start(1);
    QAction* object = editor.settingsDialog().menus().action(dialogs::PopupMenu::Insert, QStringLiteral("OLEｵﾌﾞｼﾞｪｸﾄ(&O)"));
    ASSERT_TRUE(object);
    EXPECT_FALSE(object->isEnabled());
    QAction* graph = editor.settingsDialog().menus().action(dialogs::PopupMenu::Insert, QStringLiteral("ｸﾞﾗﾌ･ﾁｬｰﾄ(&G)"),
                                                           QStringLiteral("ｸﾞﾗﾌ"));
    ASSERT_TRUE(graph);
    EXPECT_TRUE(graph->isEnabled());
}
