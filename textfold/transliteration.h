#pragma once
// ICU's transliterators by their ids, applied to Qt strings.

#include <QString>
#include <QStringView>

namespace textfold {

// `text` through the transliterator `id` (an ICU id such as
// "Halfwidth-Fullwidth", or several joined by ";"). Without ICU's data for
// `id` the text comes back unchanged.
QString transliterated(const char* id, QStringView text);

} // namespace textfold
