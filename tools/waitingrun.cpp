#include "tools/waitingrun.h"

#include <QEventLoop>
#include <QProcess>

namespace tools {

namespace {

// Clears the waiting flag however the run ends.
class WaitingFlag {
public:
    explicit WaitingFlag(bool& flag) : m_flag(flag) { m_flag = true; }
    ~WaitingFlag() { m_flag = false; }
    WaitingFlag(const WaitingFlag&) = delete;
    WaitingFlag& operator=(const WaitingFlag&) = delete;

private:
    bool& m_flag;
};

} // namespace

WaitingRun::Result WaitingRun::run(const QString& program, const QStringList& arguments)
{
    if (s_waiting)
        return Result::Busy;
    const WaitingFlag waiting(s_waiting);
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    process.start();
    if (!process.waitForStarted())
        return Result::NotStarted;
    // The end is reported through the event loop, so an end that came
    // before exec() still stops it.
    while (process.state() != QProcess::NotRunning)
        loop.exec();
    return process.exitStatus() == QProcess::NormalExit ? Result::Finished : Result::Crashed;
}

} // namespace tools
