#include "html/scratchsave.h"

#include "env/mclt.h"

#include <QDir>
#include <QFileInfo>

namespace html {

namespace {

QString picturesBeside(const QString& htmlPath)
{
    const QFileInfo file(htmlPath);
    return file.absolutePath() + u'/' + file.completeBaseName() + QStringLiteral("_files");
}

} // namespace

ScratchSave::ScratchSave(const QString& targetPath)
    : m_target(QFileInfo(targetPath).absoluteFilePath())
    , m_dir(QFileInfo(m_target).absolutePath() + QStringLiteral("/.fumi-save-XXXXXX"))
{
}

QString ScratchSave::preparedPath() const
{
    return m_dir.filePath(QFileInfo(m_target).fileName());
}

QString ScratchSave::targetPictures() const
{
    return picturesBeside(m_target);
}

QString ScratchSave::preparedPictures() const
{
    return picturesBeside(preparedPath());
}

QString ScratchSave::previousPictures() const
{
    return m_dir.filePath(QStringLiteral("previous_files"));
}

bool ScratchSave::placePictures()
{
    if (!QFileInfo::exists(preparedPictures()))
        return true;
    QDir fs;
    if (QFileInfo::exists(targetPictures())) {
        if (!fs.rename(targetPictures(), previousPictures()))
            return false;
        m_movedPrevious = true;
    }
    m_placedNew = fs.rename(preparedPictures(), targetPictures());
    if (!m_placedNew)
        restorePictures();
    return m_placedNew;
}

void ScratchSave::restorePictures()
{
    QDir fs;
    if (m_placedNew)
        fs.rename(targetPictures(), preparedPictures());
    if (m_movedPrevious)
        fs.rename(previousPictures(), targetPictures());
    m_placedNew = false;
    m_movedPrevious = false;
}

bool ScratchSave::commit(QStringView text)
{
    if (!placePictures())
        return false;
    if (!mClt::WriteUtf8(m_target, text)) {
        restorePictures();
        return false;
    }
    return true;
}

} // namespace html
