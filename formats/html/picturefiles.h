#pragma once
// Where the engine's HTML export puts a document's pictures and what address
// its <img src> gives them: files in a picture folder beside the HTML file
// (each distinct picture once, "image1.png", "image2.jpg", …), or, for an
// export into memory, data addresses that carry the picture itself.
//
// Picture export codes: 3 writes every picture as PNG; 4 (what a save uses)
// keeps photographs that came from a JPEG file as JPEG and writes every other
// picture, and any picture with transparency, as lossless PNG.

#include <QHash>
#include <QString>
#include <optional>

class QImage;
class QTextDocument;
class QTextImageFormat;

namespace formats {

inline constexpr int kPicturesAsPng = 3;
inline constexpr int kPicturesAsSaved = 4;

class PictureFiles {
public:
    // Pictures written into `folder` (created with the first one), addressed
    // as `addressPrefix` + "/" + file name.
    PictureFiles(QString folder, QString addressPrefix, int exportCode);
    // Pictures carried in data addresses, written nowhere.
    static PictureFiles embedded();

    // The address of the picture `format` shows; nullopt when the document
    // holds no picture under its name.
    std::optional<QString> address(const QTextDocument& document, const QTextImageFormat& format);
    // True once a picture file could not be written.
    bool failed() const { return m_failed; }

private:
    PictureFiles() = default;
    QString fileFor(const QTextDocument& document, const QImage& image, const QTextImageFormat& format);
    bool usesJpeg(const QImage& image, const QTextImageFormat& format) const;

    QString m_folder;        // empty: embedded
    QString m_addressPrefix;
    int m_exportCode = kPicturesAsPng;
    QHash<QString, QString> m_written; // resource name → address
    bool m_failed = false;
};

} // namespace formats
