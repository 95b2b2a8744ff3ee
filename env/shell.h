#pragma once
// Small desktop services used by several windows.

#include <QString>

namespace env {

// Folder picker. Returns the chosen folder, or "" when cancelled. A start
// folder that no longer exists is not preselected; an empty title becomes
// the usual prompt.
QString BrowseFld(const QString& sPath, const QString& sTitle = {});
// Opens `sFld` with the desktop (a folder in the file manager).
void ExpFd(const QString& sFld);

// Fills workArea from the primary screen's available geometry, in twips.
void GetWorkArea();
// Pulls a window rectangle (twips) into the work area before it is placed.
void FitWorkArea(int& left, int& top, int& width, int& height);

// Twips per logical pixel of the primary screen, horizontally and vertically.
double twipsPerPixelX();
double twipsPerPixelY();

} // namespace env
