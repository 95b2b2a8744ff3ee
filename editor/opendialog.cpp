#include "editor/opendialog.h"

#include "editor/documentkinds.h"
#include "env/dialogs.h"
#include "env/globals.h"
#include "env/yini.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <array>

namespace editor {

namespace {

const QString kWorkCopy = QStringLiteral("Temp.Doc");

QString monthOf(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy/MM"));
}

// The work copy in the work folder, whatever the case of its name (an exact
// match first); "" when there is none or it was written before this month.
QString workCopyOfThisMonth()
{
    if (env::gsWrkPh.isEmpty())
        return {};
    const QDir work(env::gsWrkPh);
    const QStringList found = work.entryList({kWorkCopy}, QDir::Files);
    if (found.isEmpty())
        return {};
    const QFileInfo copy(work.filePath(found.contains(kWorkCopy) ? kWorkCopy : found.first()));
    return monthOf(copy.lastModified().date()) == monthOf(QDate::currentDate()) ? copy.absoluteFilePath() : QString();
}

// The document dialog starts on the filter of the proposed file's kind; kinds
// without a filter of their own there start on the first.
int filterIndexFor(const QString& file)
{
    static const std::array<QStringView, 4> kFirstFilters{u"doc", u"docx", u"rtf", u"txt"};
    const QString extension = documentkinds::extensionOf(file);
    for (size_t i = 0; i < kFirstFilters.size(); ++i) {
        if (kFirstFilters[i] == extension)
            return int(i) + 1;
    }
    return 1;
}

} // namespace

QString OpenDialog::chooseDocument(bool noProposal)
{
    env::FileRequest request;
    request.title = QStringLiteral("文書の読み込み");
    request.filters = documentkinds::dialogFilters({u"doc", u"docx", u"rtf", u"txt", u"htm"});
    if (!noProposal) {
        if (const QString copy = workCopyOfThisMonth(); !copy.isEmpty())
            m_lastFile = copy;
    }
    request.filterIndex = noProposal ? 1 : filterIndexFor(m_lastFile);
    return choose(request);
}

QString OpenDialog::chooseTextSource()
{
    env::FileRequest request;
    request.title = QStringLiteral("ﾃｷｽﾄの挿入");
    request.filters = documentkinds::dialogFilters({u"txt", u"doc", u"docx", u"rtf", u"htm"});
    return choose(request);
}

// The dialog opens where the last chosen file is; before any choice, in the
// user's documents folder.
QString OpenDialog::choose(env::FileRequest& request)
{
    if (m_lastFile.isEmpty()) {
        request.folder = env::gxIni().FsGtSpFld(5);
    } else {
        const QFileInfo last(m_lastFile);
        request.folder = last.absolutePath();
        request.fileName = last.fileName();
    }
    const QString chosen = env::dialogs().openFile(request);
    if (!chosen.isEmpty())
        m_lastFile = chosen;
    return chosen;
}

} // namespace editor
