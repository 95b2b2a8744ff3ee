#include "bench/word_convert/wordbenchinputs.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace wordbenchinputs {

namespace {

QByteArray pictureUri(int n)
{
    QImage image(160, 90, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((n * 37) % 360, 160, 220));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return "data:image/png;base64," + png.toBase64();
}

QByteArray paragraph(int page, int n)
{
    const QByteArray id = QByteArray::number(page) + '.' + QByteArray::number(n);
    QByteArray p = "<p>段落 " + id + "：文書の本文が続きます。日本語の文章に English words are mixed in, "
                   "as technical documents often do. ";
    for (int i = 0; i < 4; ++i)
        p += "この段落は変換の速さを測るための文です。漢字と仮名と<b>強調</b>が混ざります。";
    if (n == 1)
        p += "詳しくは <a href=\"https://example.com/docs/" + id + "\">説明のページ " + id + "</a> を見てください。";
    return p + "</p>\n";
}

QByteArray list(int page)
{
    const QByteArray tag = page % 2 ? "ol" : "ul";
    QByteArray l = "<" + tag + ">";
    for (int i = 1; i <= 3; ++i)
        l += "<li>項目 " + QByteArray::number(i) + " item of page " + QByteArray::number(page) + "</li>";
    return l + "</" + tag + ">\n";
}

QByteArray table(int n)
{
    QByteArray t = "<table border=\"1\" cellspacing=\"0\"><tr><th colspan=\"2\">表 " + QByteArray::number(n)
        + " Table</th><th>値</th></tr>";
    for (int row = 1; row <= 3; ++row)
        t += "<tr><td>行 " + QByteArray::number(row) + "</td><td>row " + QByteArray::number(row) + "</td><td>"
            + QByteArray::number(row * n) + "</td></tr>";
    return t + "</table>\n";
}

QString cacheFolder()
{
    return QStringLiteral(FUMI_WORD_BENCH_CACHE);
}

// The document of `pages` pages converted by LibreOffice with `filter` into
// a file ending in `extension`.
QString convertedDocument(int pages, const QString& extension, const QString& filter)
{
    const QDir cache(cacheFolder());
    const QString name = QStringLiteral("document%1").arg(pages);
    const QString target = cache.filePath(name + u'.' + extension);
    if (QFileInfo::exists(target))
        return target;
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    QFile html(cache.filePath(name + QStringLiteral(".html")));
    if (soffice.isEmpty() || !cache.mkpath(QStringLiteral(".")) || !html.open(QIODevice::WriteOnly)
        || html.write(documentHtml(pages)) < 0)
        return {};
    html.close();
    QProcess process;
    process.start(soffice, {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(cache.filePath(QStringLiteral("profile"))).toString(),
                            QStringLiteral("--headless"), QStringLiteral("--infilter=HTML (StarWriter)"),
                            QStringLiteral("--convert-to"), extension + u':' + filter,
                            QStringLiteral("--outdir"), cache.path(), html.fileName()});
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return {};
    return QFileInfo::exists(target) ? target : QString();
}

} // namespace

QByteArray documentHtml(int pages)
{
    QByteArray html = "<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">"
                      "<title>ベンチマーク文書</title></head><body>\n";
    int tables = 0;
    for (int page = 0; page < pages; ++page) {
        const QByteArray number = QByteArray::number(page + 1);
        if (page % 25 == 0)
            html += "<h1>第" + QByteArray::number(page / 25 + 1) + "章 Chapter</h1>\n";
        html += "<h2>" + number + " 節 Section " + number + "</h2>\n";
        for (int n = 0; n < 4; ++n)
            html += paragraph(page, n);
        html += list(page);
        for (; tables < (page + 1) * 3 / 10; ++tables)
            html += table(tables + 1);
        if (page % 25 == 12)
            html += "<p><img src=\"" + pictureUri(page) + "\" width=\"160\" height=\"90\" alt=\"図\"></p>\n";
    }
    return html + "</body></html>\n";
}

QString wordDocument(int pages)
{
    return convertedDocument(pages, QStringLiteral("docx"), QStringLiteral("MS Word 2007 XML"));
}

QString richTextDocument(int pages)
{
    return convertedDocument(pages, QStringLiteral("rtf"), QStringLiteral("Rich Text Format"));
}

QString word97Document(int pages)
{
    return convertedDocument(pages, QStringLiteral("doc"), QStringLiteral("MS Word 97"));
}

} // namespace wordbenchinputs
