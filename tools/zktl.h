#pragma once
// zKtl: finds the companion programs (the registry, the folders next to this
// program's, or the user's choice in a file dialog) and starts them: the
// picture, graph and chart programs with a parameter record in the work
// folder, waiting until they answer; the others with a command line.
//
// Paths found are written to the registry ("VenmoorTools"/"Path"), so later
// runs and the other programs find them at once. Every failure is told to
// the user and leaves the outputs as the caller set them.

#include "tools/commandlines.h"
#include "tools/companions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace tools {

class zKtl {
public:
    // Takes every registered path that names its program's executable and exists.
    zKtl();

    // The stored executable of program `index`; "" when none is known.
    QString GetAppNm(int index) const;
    // True when the executable of program `index` is known and exists,
    // after searching for it and asking the user when it is not.
    bool bChkApp(int index);
    // The search of the folders around this program's (see exesearch.h).
    QString GetExePh(int index) const;

    // Runs the picture program and waits. `mode` 3 asks for a picture of
    // any kind, others for a PNG; `width` and `height` are the size asked
    // for (0 and 0: none).
    void ActPic(qint16 mode, const QString& folder, QString& result, qint32 width, qint32 height,
                qint16& code, bool& ok);
    // Runs the graph or chart program and waits.
    void ActGrph(const QString& folder, QString& result, bool& ok);
    void ActChrt(const QString& folder, QString& result, bool& ok);

    // Started without waiting.
    void ActFtp(const QString& job, const QStringList& values);
    void ActPendrel(const QString& csv, const QString& pattern);
    void ActWystane(const QString& file, const QString& number = {});
    // Started and waited for.
    void ActSync(const QString& text);
    void ActFFFTP(const QString& host);

private:
    // Writes `record` to the work folder's `fileName`, runs program `index`
    // with it and reads the answer; nullopt after telling what went wrong.
    std::optional<QByteArray> exchange(int index, const QString& fileName, const std::optional<QByteArray>& record);
    void chart(int index, const QString& fileName, const QString& folder, QString& result, bool& ok);
    QString askForExecutable(int index) const;
    QString ffftpPath();
    void start(int index, const CommandLine& command) const;
    // Runs `program` and waits; false after telling why it did not end well.
    static bool runAndWait(const QString& caption, const QString& program, const QStringList& arguments);

    std::array<QString, kCompanionCount> m_paths;
};

// The one launcher of the process, created on first use.
zKtl& gxKtl();

} // namespace tools
