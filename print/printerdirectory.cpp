#include "print/printerdirectory.h"

#include <QPrinterInfo>

namespace print {

PrinterDirectory PrinterDirectory::system()
{
    PrinterDirectory directory;
    directory.installed = QPrinterInfo::availablePrinterNames();
    directory.current = QPrinterInfo::defaultPrinterName();
    if (!directory.installed.contains(directory.current))
        directory.current = directory.installed.value(0);
    return directory;
}

QString PrinterDirectory::printerFor(const QString& storedName) const
{
    const QString name = storedName.trimmed();
    if (current.startsWith(name, Qt::CaseInsensitive))
        return current;
    for (const QString& printer : installed)
        if (printer.startsWith(name, Qt::CaseInsensitive))
            return printer;
    return current;
}

} // namespace print
