// uTxm's paste and picture jobs: pasting in the kind the command or the
// user's setting asks for (15), and a picture from a file (35). Pictures go
// through the picture dialog, which writes them at the size the user
// confirmed into the work file; that file's picture goes into the document.

#include "editor/utxm.h"

#include "dialogs/picturedialog.h"
#include "editor/pastekind.h"
#include "editor/picturetools.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "env/dialogs.h"
#include "env/globals.h"
#include "picture/failure.h"
#include "picture/source.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>

namespace editor {

namespace {

QString workPicturePath()
{
    return env::gsWrkPh + QStringLiteral("Wrk.bmp");
}

QStringList pictureFilters()
{
    return {QStringLiteral("画像 (*.png *.jpg *.jpeg *.jpe *.gif *.bmp *.dib *.tif *.tiff *.webp *.svg *.emf *.wmf)"),
            QStringLiteral("WMF (*.wmf *.emf)"), QStringLiteral("すべてのﾌｧｲﾙ (*)")};
}

// Why a picture did not go in, in the user's words; "" when it did or the
// user cancelled.
QString placementFailure(const dialogs::PictureOutcome& outcome, const QString& source)
{
    const QString where = source.isEmpty() ? QString() : QStringLiteral("\n") + QDir::toNativeSeparators(source);
    switch (outcome.result) {
    case dialogs::PictureResult::NotLoaded:
        return picture::failureMessage(outcome.failure) + where;
    case dialogs::PictureResult::NotWritten:
        return QStringLiteral("画像を作業ﾌｧｲﾙに書き込めませんでした｡\n") + QDir::toNativeSeparators(workPicturePath());
    case dialogs::PictureResult::Placed:
    case dialogs::PictureResult::Cancelled:
        break;
    }
    return {};
}

// What the properties box tells about a picture besides its alternative text.
QString pictureDescription(const engine::PictureInHand& shown)
{
    constexpr double kTwipsPerCentimetre = 567.0;
    QString text = QStringLiteral("代替ﾃｷｽﾄ (画像を表示できないときに代わりに示す文字)\n\n大きさ: %1 × %2 ﾋﾟｸｾﾙ、表示 %3 × %4 cm")
                       .arg(shown.image.width())
                       .arg(shown.image.height())
                       .arg(shown.sizeTwips.width() / kTwipsPerCentimetre, 0, 'f', 2)
                       .arg(shown.sizeTwips.height() / kTwipsPerCentimetre, 0, 'f', 2);
    if (!shown.fileName.isEmpty())
        text += QStringLiteral("\nﾌｧｲﾙ: ") + QDir::toNativeSeparators(shown.fileName);
    return text;
}

} // namespace

uTxm::Outcome uTxm::paste(const QVariant& kind)
{
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    switch (pasteKindFor(kind.toString(), offerOf(clipboard), m_options.pasteAsText())) {
    case PasteKind::Text:
        return pasteText(clipboard->text());
    case PasteKind::Rich:
        m_view->setFocus();
        return m_engine->paste() ? Outcome::Changed : Outcome::Skipped;
    case PasteKind::Picture:
        return insertPlacedPicture(dialogs::ActCp(*clipboard, pictureTarget()), {});
    case PasteKind::Nothing:
        break;
    }
    return Outcome::Skipped;
}

// A plain paste is an ordinary edit: the engine's own undo takes it back, so
// the snapshot taken for the job is given up.
uTxm::Outcome uTxm::pasteText(const QString& clipboardText)
{
    const QString text = pastedText(clipboardText);
    if (text.isEmpty())
        return Outcome::Skipped;
    m_view->setFocus();
    m_engine->setSelectedText(text);
    m_snapshots.release();
    return Outcome::Changed;
}

uTxm::Outcome uTxm::insertPictureFile()
{
    txIME(false);
    env::FileRequest request;
    request.title = QStringLiteral("画像の取り込み");
    if (QFileInfo(m_options.pictureFolder).isDir())
        request.folder = m_options.pictureFolder;
    request.filters = pictureFilters();
    const QString path = env::dialogs().openFile(request);
    if (path.isEmpty())
        return Outcome::Skipped;
    m_options.pictureFolder = QDir::toNativeSeparators(QFileInfo(path).absolutePath()) + QDir::separator();
    return insertPlacedPicture(dialogs::Act(path, pictureTarget()), path);
}

dialogs::PictureTarget uTxm::pictureTarget() const
{
    const engine::PageSetup page = m_engine->pageSetup();
    const int textWidth = qRound(page.paperWidth - page.marginLeft - page.marginRight);
    return {workPicturePath(), std::max(textWidth, 0), picture::ColourReduction(std::clamp(m_options.pictureColour, 0, 2)),
            window()};
}

// The work file is read back as the picture the document keeps; a picture
// from a file keeps that file's name, so that writers can choose a fitting
// kind of file for it (a photograph stays a JPEG).
uTxm::Outcome uTxm::insertPlacedPicture(const dialogs::PictureOutcome& outcome, const QString& source)
{
    if (const QString failure = placementFailure(outcome, source); !failure.isEmpty()) {
        env::dialogs().inform(failure);
        return Outcome::Skipped;
    }
    if (!outcome.bOk())
        return Outcome::Skipped;
    QImageReader reader(workPicturePath());
    const QImage image = reader.read();
    m_view->setFocus();
    if (image.isNull() || m_engine->insertPicture(image, engine::PictureInline, source) == 0) {
        env::dialogs().inform(QStringLiteral("画像を文書に挿入できませんでした｡"));
        return Outcome::Skipped;
    }
    return Outcome::Changed;
}

// The picture dialog once more, on the picture as the document shows it: the
// user gives it another size there, and the picture drawn at that size takes
// its place. A file the document kept for it is drawn afresh, so a picture
// made smaller can be made larger again without losing its sharpness.
uTxm::Outcome uTxm::editPicture()
{
    const std::optional<engine::PictureInHand> shown = m_engine->currentPicture();
    if (!shown)
        return Outcome::Skipped;
    picture::Source source = picture::Source::fromBytes(shown->fileBytes);
    if (shown->fileBytes.isEmpty() || !source.ok())
        source = picture::Source::fromImage(shown->image);
    dialogs::PictureTarget target = pictureTarget();
    target.proposedTwips = shown->sizeTwips.toSize();
    const dialogs::PictureOutcome outcome = dialogs::placePicture(source, target);
    if (const QString failure = placementFailure(outcome, shown->fileName); !failure.isEmpty()) {
        env::dialogs().inform(failure);
        return Outcome::Skipped;
    }
    if (!outcome.bOk())
        return Outcome::Skipped;
    QImageReader reader(workPicturePath());
    if (!m_engine->replaceCurrentPicture(reader.read())) {
        env::dialogs().inform(QStringLiteral("画像を置き換えられませんでした｡"));
        return Outcome::Skipped;
    }
    return Outcome::Changed;
}

// A picture shrunk to the page links to its enlarged picture: the file it
// was inserted from, as that file is now (0), or one the user chooses (1).
uTxm::Outcome uTxm::linkToEnlargedPicture(const QVariant& which)
{
    const std::optional<engine::PictureInHand> shown = m_engine->currentPicture();
    if (!shown)
        return Outcome::Skipped;
    QString file = shown->fileName;
    if (which.toInt() == 1) {
        env::FileRequest request;
        request.title = QStringLiteral("拡大画像の選択");
        const QString ownFolder = QFileInfo(shown->fileName).absolutePath();
        request.folder = !shown->fileName.isEmpty() && QFileInfo(ownFolder).isDir() ? ownFolder : m_options.pictureFolder;
        request.filters = pictureFilters();
        file = env::dialogs().openFile(request);
        if (file.isEmpty())
            return Outcome::Skipped;
    } else if (file.isEmpty() || !QFileInfo(file).isFile()) {
        env::dialogs().inform(QStringLiteral("画像の元のﾌｧｲﾙが見つかりません｡\n") + QDir::toNativeSeparators(file));
        return Outcome::Skipped;
    }
    const FieldCommands::Result result = m_fields.linkObject(enlargedPictureAddress(file, m_currentFile));
    return result == FieldCommands::Result::Changed ? Outcome::Changed : Outcome::Skipped;
}

uTxm::Outcome uTxm::pictureProperties()
{
    const std::optional<engine::PictureInHand> shown = m_engine->currentPicture();
    if (!shown)
        return Outcome::Skipped;
    const std::optional<QString> alt =
        env::dialogs().input(pictureDescription(*shown), QStringLiteral("画像のﾌﾟﾛﾊﾟﾃｨ"), shown->altText);
    if (!alt || *alt == shown->altText)
        return Outcome::Unchanged;
    return m_engine->setCurrentPictureAltText(*alt) ? Outcome::Changed : Outcome::Skipped;
}

} // namespace editor
