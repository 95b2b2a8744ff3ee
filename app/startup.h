#pragma once
// The program's entry and exit: the process-wide state, the settings file and
// the main window come up in a fixed order, and go down with one settings write.

#include <QString>
#include <QStringList>

namespace app {

class fmDoc;

struct StartOptions {
    QString executable;     // full path of the running executable
    QStringList arguments;  // command-line arguments after the program name
};

// Base name of `executablePath` without extension and without a trailing
// "_dv" in any letter case: a development copy shares the released program's data.
QString executableBaseName(const QString& executablePath);

// The start-up's clean-up after saves a kill stopped: the work folder's are
// finished or removed, and the scratch of a settings write in the user data
// folder goes.
void finishInterruptedSaves();

// Start-up in its fixed order; returns the main window, shown.
fmDoc* Main(const StartOptions& options);

// Shutdown: writes the settings file (once per run) and closes every window.
void EndPrg();

// True once EndPrg has begun: windows closing now are closed by the program.
bool isEnding();

} // namespace app
