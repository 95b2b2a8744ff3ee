#pragma once
// Why a picture could not be taken in.

#include <QString>

namespace picture {

enum class Failure { None, Unreadable, NotAPicture, TooLarge, Damaged, MetafileNotConverted };

// The sentence the user is shown for `failure`; "" for None.
QString failureMessage(Failure failure);

} // namespace picture
