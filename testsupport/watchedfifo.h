#pragma once
// A FIFO for tests of readers that must never open one. A second thread
// offers one byte to each reader that opens it, so that a faulty reader
// comes back (and the test can fail) instead of blocking for ever; the
// FIFO counts the readers it met.

#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace testsupport {

class WatchedFifo {
public:
    explicit WatchedFifo(const QString& path)
        : m_path(QFile::encodeName(path))
    {
        if (::mkfifo(m_path.constData(), 0600) != 0)
            return;
        m_writer = std::thread([this] {
            while (!m_stop) {
                const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
                if (fd < 0) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                    continue;
                }
                ++m_readers;
                [[maybe_unused]] const auto written = ::write(fd, "x", 1);
                ::close(fd);
            }
        });
    }
    ~WatchedFifo()
    {
        m_stop = true;
        if (m_writer.joinable())
            m_writer.join();
    }
    int readers() const { return m_readers; }

private:
    QByteArray m_path;
    std::atomic<bool> m_stop = false;
    std::atomic<int> m_readers = 0;
    std::thread m_writer;
};

} // namespace testsupport
