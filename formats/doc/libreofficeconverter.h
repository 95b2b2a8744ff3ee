#pragma once
// LibreOfficeConverter runs LibreOffice headless (`soffice --convert-to`) on
// bytes, through scratch files that are removed afterwards, and hands back the
// converted file's bytes.
//
// - Each run uses the program's own LibreOffice profile below the user's cache
//   folder, so a LibreOffice the user has open is never taken over and never
//   blocks a conversion.
// - Conversions are one at a time: within this process, and between processes
//   sharing the profile (a lock file beside it).
// - Each run has a time limit (60 s); past it the process is ended.
// - While a run lasts the event loop keeps running, so windows repaint, but
//   the user's input (keys, clicks, closing a window) is held off and the
//   cursor shows that the program is busy: no second command can start.

#include <QByteArray>
#include <QString>
#include <chrono>

namespace formats::doc {

enum class ConversionFailure {
    None,
    NotInstalled,  // no LibreOffice to run
    Busy,          // another conversion holds the profile and did not finish in time
    Scratch,       // the scratch files could not be written or read
    TimedOut,      // LibreOffice did not finish within the time limit and was ended
    NotConverted,  // LibreOffice ended without writing a result (the input was not readable)
    Crashed,       // LibreOffice failed to start or ended abnormally
    TooLarge,      // the result is larger than the caller accepts
};

// Why a conversion failed, as a sentence; "" for None.
QString failureMessage(ConversionFailure failure);

struct ConverterSetup {
    QString program;        // LibreOffice's executable; "" finds soffice (or libreoffice) on the path
    QString profileFolder;  // "" is "libreoffice-profile" in the user's cache folder
    QString scratchFolder;  // where the scratch files go; "" is the work folder, else the system's temporary folder
    std::chrono::milliseconds timeLimit{60000};
    qint64 maxResultBytes = qint64(256) * 1024 * 1024;
};

struct Conversion {
    ConversionFailure failure = ConversionFailure::None;
    QByteArray bytes;

    bool ok() const { return failure == ConversionFailure::None; }
};

class LibreOfficeConverter {
public:
    explicit LibreOfficeConverter(ConverterSetup setup = {});

    // `bytes`, a file of `inputFilter` (LibreOffice's filter name, for example
    // "MS Word 97") with the extension `inputExtension`, converted to
    // `outputExtension` by LibreOffice's filter `outputFilter`.
    Conversion convert(const QByteArray& bytes, const QString& inputExtension, const QString& inputFilter,
                       const QString& outputExtension, const QString& outputFilter) const;

    // The executable a conversion would run; "" when LibreOffice is not installed.
    QString program() const;
    QString profileFolder() const;

private:
    ConverterSetup m_setup;
};

} // namespace formats::doc
