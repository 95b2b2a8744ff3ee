#pragma once
// Starts a companion program and waits until it ends while the event loop
// keeps running, so the window stays responsive. One waiting run at a time:
// a second one while the first waits is refused, because its parameter file
// would be the first one's and the answers would cross.

#include <QString>
#include <QStringList>

namespace tools {

class WaitingRun {
public:
    enum class Result {
        Finished,   // the program ran and ended of itself
        NotStarted, // it could not be started
        Crashed,    // it ended by a crash or was killed
        Busy,       // another waiting run is still going on
    };

    static Result run(const QString& program, const QStringList& arguments);
    static bool isWaiting() { return s_waiting; }

private:
    static inline bool s_waiting = false;
};

} // namespace tools
