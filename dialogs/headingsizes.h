#pragma once
// The order of heading sizes the user formats must keep: each heading larger
// than the one below it, and the smallest no smaller than the body, the
// emphasis or 10 points.

namespace dialogs {

class Frmt;

// Puts the sizes of records 0–4 in that order when they are not; true when
// they had to change. Either way the supplement (record 5) takes the body's
// font and a white background.
bool orderHeadingSizes(Frmt& formats);

} // namespace dialogs
