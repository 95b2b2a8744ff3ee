#pragma once
// The printers installed on the system, and which of them a stored device
// name stands for.

#include <QString>
#include <QStringList>

namespace print {

struct PrinterDirectory {
    QStringList installed;
    QString current; // the printer that prints unless another is chosen

    // The platform's printers (CUPS): the default one is current, else the first.
    static PrinterDirectory system();

    // The printer a stored name stands for: the current one when the name is
    // the start of its name (ignoring case; the record keeps only 32 bytes of
    // a name), else the first installed printer whose name begins with it,
    // else, for a printer that is gone, the current one.
    QString printerFor(const QString& storedName) const;
};

} // namespace print
