#pragma once
// Opens the target of a clicked link with the desktop, refusing what could
// harm: unknown schemes are refused, programs and scripts are started only
// after the user agrees.

#include <QString>
#include <QUrl>

namespace app {

enum class LinkVerdict { Open, AskFirst, Refuse };

struct LinkTarget {
    QUrl url;              // what the desktop is asked to open
    LinkVerdict verdict = LinkVerdict::Refuse;
};

// Judges `target`; a relative path is taken below `documentFolder`.
LinkTarget judgeLink(const QString& target, const QString& documentFolder);

// Judges, asks or refuses with a message, and opens.
void openLink(const QString& target, const QString& documentFolder);

} // namespace app
