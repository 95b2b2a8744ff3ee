// uTxm's paste and picture jobs: pasting in the kind the command or the
// user's setting asks for (15), and a picture from a file (35). Pictures go
// through the picture dialog, which writes them at the size the user
// confirmed into the work file; that file's picture goes into the document.

#include "editor/utxm.h"

#include "dialogs/picturedialog.h"
#include "editor/pastekind.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "env/dialogs.h"
#include "env/globals.h"
#include "picture/failure.h"

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

} // namespace editor
