#pragma once
// A desktop for tests: remembers what would have been opened, opens nothing.

#include "env/desktop.h"

#include <QStringList>

namespace testsupport {

class RecordingDesktop : public env::Desktop {
public:
    RecordingDesktop() : m_previous(env::setDesktop(this)) {}
    ~RecordingDesktop() override { env::setDesktop(m_previous); }

    bool openUrl(const QUrl& url) override
    {
        opened << url.toString();
        return works;
    }
    bool showFolder(const QString& folder) override
    {
        shown << folder;
        return works;
    }

    QStringList opened;
    QStringList shown;
    bool works = true;   // false: every hand-over fails, as without a desktop

private:
    env::Desktop* m_previous;
};

} // namespace testsupport
