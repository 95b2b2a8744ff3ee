#pragma once
// The default page of new documents, kept in the settings group "TX_PAGE":
// paper width and height and the four margins, in twips. The margins keep
// their fractions (1.5 cm is 850.5 twips).

#include "engine/pagesetup.h"

namespace env {
class yIni;
}

namespace dialogs {

// `current` with the stored paper size and margins; what is not stored takes
// the default: Letter, margins 1.5 cm left and
// top, 1 cm right and bottom. Orientation and header/footer flags stay.
engine::PageSetup readPageDefaults(env::yIni& ini, engine::PageSetup current);
// Stores `page`'s paper size and margins as the default and puts the group
// back into the settings text.
void writePageDefaults(env::yIni& ini, const engine::PageSetup& page);

} // namespace dialogs
