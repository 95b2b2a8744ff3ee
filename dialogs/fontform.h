#pragma once
// FontForm: the font dialog's values without its widgets — the families in
// the order offered, the four styles, the usual sizes, and the answer built
// from what the user chose, with the size checked against the engine's range.

#include "env/dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace dialogs {

struct FontForm {
    // Offered for every family: Qt synthesises bold and oblique faces.
    enum Style { Regular, Italic, Bold, BoldItalic };

    static constexpr double kMinSize = 1;
    static constexpr double kMaxSize = 1638;

    QString family;
    Style style = Regular;
    QString size; // as typed
    bool underline = false;
    bool strikeOut = false;
    QColor textColor;       // invalid: automatic
    QColor backgroundColor; // invalid: none

    static FontForm from(const env::FontRequest& request);
    // The answer, or nullopt when the size is no size the engine takes.
    std::optional<env::FontRequest> request() const;

    // The installed families, those that write Japanese first, each once.
    static QStringList families();
    static QStringList styleNames();
    static QList<double> usualSizes();
    static QString sizeText(double points);
    static std::optional<double> sizeOf(const QString& text);
    static QString sizeRefusal();
    static QFont fontOf(const QString& family, double points, Style style, bool underline, bool strikeOut);
};

} // namespace dialogs
