// uTxm's pictures from the companion programs: a picture from the picture
// program (33), one at a size the user first draws with the mouse (34), a
// graph (42) and a chart (43). The programs are found, run and waited for
// by the launcher; this side asks for the picture and puts the file it
// answers with into the document at the screen's scale.

#include "editor/utxm.h"

#include "editor/picturesizedrawer.h"
#include "editor/picturetools.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "env/globals.h"
#include "tools/zktl.h"

#include <QFileInfo>

namespace editor {

void uTxm::buildToolJobs()
{
    m_sizeDrawer = new PictureSizeDrawer(m_view->viewport(), this);
    connect(m_sizeDrawer, &PictureSizeDrawer::drawn, this, &uTxm::onPictureSizeDrawn);
    // Without a size, 0 by 0: the picture program chooses.
    m_jobs[33] = [this](QVariant& size) { return companionPicture(size.isValid() ? size.toSizeF() : QSizeF(0, 0)); };
    m_jobs[34] = [this](QVariant&) {
        m_sizeDrawer->start();
        return Outcome::Skipped;
    };
    for (int job : {42, 43})
        m_jobs[job] = [this, job](QVariant&) { return companionChart(job); };
}

tools::zKtl& uTxm::companions() const
{
    return m_companions ? *m_companions : tools::gxKtl();
}

// The drawn size arrives as job 33's argument, so that the picture gets
// the job's undo snapshot and modified rule.
void uTxm::onPictureSizeDrawn(const QSizeF& rectangleTwips)
{
    if (m_modified.busy())
        return;
    m_engine->setSelection(m_engine->selectionStart(), 0);
    if (const std::optional<QSizeF> size = drawnPictureSize(rectangleTwips, m_engine->zoom()))
        rtAct(33, *size);
}

uTxm::Outcome uTxm::companionPicture(const QSizeF& size)
{
    QString result;
    qint16 code = 0;
    bool ok = false;
    companions().ActPic(qint16(m_documentType), env::gsWrkPh, result, qRound(size.width()), qRound(size.height()),
                        code, ok);
    return ok ? insertCompanionPicture(result) : Outcome::Skipped;
}

uTxm::Outcome uTxm::companionChart(int job)
{
    QString result;
    bool ok = false;
    if (job == 42)
        companions().ActGrph(env::gsWrkPh, result, ok);
    else
        companions().ActChrt(env::gsWrkPh, result, ok);
    return ok && setResolutionTo96(result) ? insertCompanionPicture(result) : Outcome::Skipped;
}

// A document of type 3 keeps the picture in the line; the others place it
// as the text-flow setting says. The picture keeps its file's name either
// way (the engine stores it with the picture).
uTxm::Outcome uTxm::insertCompanionPicture(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return Outcome::Skipped;
    const bool keepsFile = m_documentType == 3;
    const engine::PicturePlacement placement =
        keepsFile ? engine::PictureInline : placementForFlow(m_options.textFlow);
    m_view->setFocus();
    const int id = m_engine->insertPictureFile(path, placement, pictureScale(m_screenDpi));
    if (id == 0)
        return Outcome::Skipped;
    const int after = m_engine->selectionStart();
    m_engine->setCurrentObject(id);
    m_engine->setObjectSetting(keepsFile ? 0 : 1);
    m_engine->setSelection(after, 0);
    return Outcome::Changed;
}

} // namespace editor
