#pragma once
// Finds and reads the pictures an HTML file shows: pictures carried in data
// addresses, files given by absolute path or file address, and files beside
// the HTML file (relative addresses, looked up in its folder). Pictures on
// the web are not fetched. Each address is read once.

#include <QHash>
#include <QImage>
#include <QString>

namespace formats {

class PictureSource {
public:
    struct Picture {
        QImage image;     // null when the picture cannot be read
        QString fileName; // the file it came from, if any
    };

    // `folder`: where relative addresses are looked up; empty when unknown.
    explicit PictureSource(QString folder);

    // False for an address to be found beside the file while the folder
    // is unknown.
    bool canFind(const QString& address) const;
    Picture picture(const QString& address);

private:
    Picture load(const QString& address) const;
    QString localPath(const QString& address) const;

    QString m_folder;
    QHash<QString, Picture> m_read;
};

} // namespace formats
