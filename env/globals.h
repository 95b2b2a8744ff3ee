#pragma once
// Process-wide state set up once at start-up and read everywhere.

#include <QString>

namespace env {

class yIni;

// Desktop work area in twips: left, top, width, height.
struct WorkArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline bool gbRun = false;     // set once start-up has begun; controls initialise only then
inline bool gbActing = false;  // true while the main window's Act runs
inline QString gsExeNm;        // executable base name without a trailing "_dv"
inline QString gsUsrPh;        // user data folder, always ending in "/"
inline QString gsWrkPh;        // work folder: gsUsrPh + "Wrk/"
inline WorkArea workArea;

// The one user environment object, created on first use.
yIni& gxIni();

} // namespace env
