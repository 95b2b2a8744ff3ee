#pragma once
// The command-line converter: "fumi --convert-to EXT [--outdir DIR] FILE...",
// which opens each file and saves it as save-as would, without a window.

#include <QStringList>
#include <optional>

namespace app {

struct ConversionRequest {
    QString targetExtension;
    QString outDir;
    QStringList files;
};

// nullopt when the arguments ask for no conversion; a request with an empty
// extension or no files is a usage error.
std::optional<ConversionRequest> conversionRequest(const QStringList& arguments);
// True when the arguments ask for a conversion (before any application exists).
bool asksForConversion(int argc, char** argv);
// Converts every file; each failure is one line on stderr. 0 when every file
// was written, 1 when any failed, 2 for a usage error.
int runConversion(const QStringList& arguments);

} // namespace app
