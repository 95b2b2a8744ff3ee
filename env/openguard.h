#pragma once
// OpenGuard: judges what the desktop would do with a link target or a file
// before it is handed over, and asks or refuses where that could harm. What
// is judged is the file the desktop will really open: the canonical path
// (symbolic links, "..", trailing slashes resolved), the MIME type the
// desktop gives it by name and content, and its executable bit. Programs,
// scripts, desktop entries and shell links run only after the user agrees;
// devices, FIFOs and sockets, missing files, files on other hosts, relative
// file addresses and unknown schemes are refused. Mail addresses keep only
// the recipients, subject and body (never an attachment).

#include <QString>
#include <QUrl>

namespace env {

enum class LinkVerdict { Open, AskFirst, Refuse };

struct LinkTarget {
    QUrl url;              // what the desktop is asked to open
    LinkVerdict verdict = LinkVerdict::Refuse;
};

class OpenGuard {
public:
    // `baseFolder`: where relative targets lie (a document's folder).
    explicit OpenGuard(QString baseFolder = {});

    LinkTarget judge(const QString& target) const;
    // Judge, ask or refuse with a message, and hand over to the desktop;
    // true when handed over. A link is named "ﾘﾝｸ先" in the messages, a file
    // "ﾌｧｲﾙ".
    bool openLink(const QString& target) const;
    bool openFile(const QString& path) const;

private:
    LinkTarget judgeLocal(const QString& path) const;
    bool open(const QString& target, const QString& shownAs) const;

    QString m_baseFolder;
};

} // namespace env
