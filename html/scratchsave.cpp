#include "html/scratchsave.h"

#include "env/replacingfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace html {

namespace {

const QString kJournal = QStringLiteral("journal");
// The target's earlier picture folder while the new one takes its place. A
// document name always has an extension, so neither name can be a document's
// or its picture folder's.
const QString kPrevious = QStringLiteral("previous");
const QString kDocumentKey = QStringLiteral("document=");
const QString kPicturesKey = QStringLiteral("pictures=");

std::function<void(SaveStep)>& stepHook()
{
    static std::function<void(SaveStep)> hook;
    return hook;
}

void reached(SaveStep step)
{
    if (stepHook())
        stepHook()(step);
}

QString picturesBeside(const QString& htmlPath)
{
    const QFileInfo file(htmlPath);
    return file.absolutePath() + u'/' + file.completeBaseName() + QStringLiteral("_files");
}

// Writes the bytes of `prepared` to `target` atomically; a target that is a
// symbolic link keeps being one, and its own target gets the bytes.
bool placeDocument(const QString& prepared, const QString& target)
{
    QFile source(prepared);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    env::ReplacingFile file(target);
    if (!file.open())
        return false;
    // In blocks: a long document is not read into memory whole.
    while (!source.atEnd()) {
        const QByteArray block = source.read(qint64(1) << 16);
        if (block.isEmpty() || file.device().write(block) != block.size())
            return false;
    }
    return file.commit();
}

// Moves `fresh` to `target`, the target's folder first to `aside`.
bool swapFolders(const QString& fresh, const QString& target, const QString& aside)
{
    QDir fs;
    if (QFileInfo::exists(target) && (QFileInfo::exists(aside) || !fs.rename(target, aside)))
        return false;
    return fs.rename(fresh, target);
}

// A name the journal may give: one entry of the document's own folder.
bool isPlainName(const QString& name)
{
    return !name.isEmpty() && !name.contains(u'/') && name != u"." && name != u"..";
}

bool endsAsHtml(const QString& name)
{
    return name.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive)
        || name.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive);
}

// Only HTML documents are saved this way. A journal is read from the disk,
// and a symbolic link in the document's place would lead the bytes anywhere:
// wherever the name leads, it must still be an HTML file.
bool isHtmlDocument(const QString& path)
{
    const QFileInfo file(path);
    if (!file.isSymLink())
        return endsAsHtml(path);
    const QString canonical = file.canonicalFilePath();
    return endsAsHtml(path) && endsAsHtml(canonical.isEmpty() ? file.symLinkTarget() : canonical);
}

struct Journal {
    QString pictures; // the picture folder's name
    QString document; // the document's name; empty when only pictures are placed
};

std::optional<Journal> readJournal(const QString& scratch)
{
    QFile file(scratch + u'/' + kJournal);
    if (!file.open(QIODevice::ReadOnly) || file.size() > 4096)
        return std::nullopt;
    Journal journal;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(kPicturesKey))
            journal.pictures = line.mid(kPicturesKey.size());
        else if (line.startsWith(kDocumentKey))
            journal.document = line.mid(kDocumentKey.size());
    }
    if (!isPlainName(journal.pictures) || !(journal.document.isEmpty() || isPlainName(journal.document)))
        return std::nullopt;
    return journal;
}

// Finishes the save prepared in `scratch` as its journal says; false when
// something could not be done yet.
bool finish(const QString& scratch, const Journal& journal)
{
    const QString folder = QFileInfo(scratch).absolutePath() + u'/';
    const QString fresh = scratch + u'/' + journal.pictures;
    if (QFileInfo::exists(fresh) && !swapFolders(fresh, folder + journal.pictures, scratch + u'/' + kPrevious))
        return false;
    const QString prepared = scratch + u'/' + journal.document;
    return journal.document.isEmpty() || !QFileInfo::exists(prepared)
        || (isHtmlDocument(folder + journal.document) && placeDocument(prepared, folder + journal.document));
}

void recoverScratch(const QString& scratch)
{
    if (QFileInfo::exists(scratch + u'/' + kJournal)) {
        const std::optional<Journal> journal = readJournal(scratch);
        // A journal this program did not write is left for someone to look at.
        if (!journal || !finish(scratch, *journal) || !QFile::remove(scratch + u'/' + kJournal))
            return;
    }
    QDir(scratch).removeRecursively();
}

// Recovers before the save makes its own scratch folder, which has no journal yet.
QString afterRecovery(const QString& targetPath)
{
    const QFileInfo target(targetPath);
    ScratchSave::recoverFolder(target.absolutePath());
    return target.absoluteFilePath();
}

} // namespace

ScratchSave::ScratchSave(const QString& targetPath)
    : m_target(afterRecovery(targetPath))
    , m_dir(QFileInfo(m_target).absolutePath() + QStringLiteral("/.fumi-save-XXXXXX"))
{
}

void ScratchSave::recoverFolder(const QString& folder)
{
    env::ReplacingFile::removeLeftovers(folder);
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral(".fumi-save-*")},
                                             QDir::Dirs | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot))
        recoverScratch(dir.filePath(name));
}

void ScratchSave::setStepHook(std::function<void(SaveStep)> hook)
{
    stepHook() = std::move(hook);
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

bool ScratchSave::writeJournal(bool withDocument) const
{
    QString text = kPicturesKey + QFileInfo(targetPictures()).fileName() + u'\n';
    if (withDocument)
        text += kDocumentKey + QFileInfo(m_target).fileName() + u'\n';
    const QByteArray bytes = text.toUtf8();
    QSaveFile file(m_dir.filePath(kJournal));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return false;
    reached(SaveStep::JournalWritten);
    return true;
}

bool ScratchSave::placePicturesJournaled(bool withDocument)
{
    if (!writeJournal(withDocument))
        return false;
    if (!QFileInfo::exists(preparedPictures()))
        return true;
    QDir fs;
    if (QFileInfo::exists(targetPictures())) {
        if (!fs.rename(targetPictures(), m_dir.filePath(kPrevious)))
            return false;
        m_movedPrevious = true;
        reached(SaveStep::OldPicturesAside);
    }
    m_placedNew = fs.rename(preparedPictures(), targetPictures());
    if (!m_placedNew)
        return false;
    reached(SaveStep::NewPicturesPlaced);
    return true;
}

bool ScratchSave::placePictures()
{
    const bool placed = placePicturesJournaled(false);
    if (!placed)
        restorePictures();
    QFile::remove(m_dir.filePath(kJournal));
    return placed;
}

void ScratchSave::restorePictures()
{
    QDir fs;
    if (m_placedNew)
        fs.rename(targetPictures(), preparedPictures());
    if (m_movedPrevious)
        fs.rename(m_dir.filePath(kPrevious), targetPictures());
    m_placedNew = false;
    m_movedPrevious = false;
}

bool ScratchSave::commitPrepared()
{
    const bool placed = placePicturesJournaled(true) && placeDocument(preparedPath(), m_target);
    if (placed)
        reached(SaveStep::DocumentPlaced);
    else
        restorePictures();
    QFile::remove(m_dir.filePath(kJournal));
    return placed;
}

} // namespace html
