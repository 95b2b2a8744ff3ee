#include "bench/conversion/benchinputs.h"

#include "engine/fieldformat.h"
#include "engine/fields.h"
#include "engine/hostunits.h"

#include <QColor>
#include <QFont>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace benchinputs {

namespace {

void addField(QTextCursor& cursor, const QString& text, const QString& data)
{
    engine::Fields fields(*cursor.document());
    const int id = fields.insert(cursor, text);
    fields.setProperty(id, engine::FieldData, data);
}

void addPage(QTextCursor& cursor, int page)
{
    for (int i = 0; i < 6; ++i) {
        const int n = (page * 6 + i) % 150;
        QTextBlockFormat block;
        block.setLeftMargin(engine::twipsToDocument(60 + 20 * (n % 15)));
        block.setTopMargin(engine::twipsToDocument(20 * (n / 15)));
        block.setLineHeight(engine::twipsToDocument(240), QTextBlockFormat::MinimumHeight);
        cursor.insertBlock(block);
        QTextCharFormat body;
        body.setFontFamilies({QStringLiteral("ＭＳ Ｐゴシック")});
        body.setFontPointSize(10);
        cursor.setBlockCharFormat(body);
        cursor.insertText(QStringLiteral("本文の段落　%1 ").arg(page) + QStringLiteral("文書の本文が続きます。").repeated(25), body);
        QTextCharFormat strong = body;
        strong.setFontWeight(QFont::Bold);
        strong.setForeground(QColor::fromRgb(0x010203 * n));
        cursor.insertText(QStringLiteral("強調"), strong);
        cursor.insertText(QStringLiteral(" 続き"), body);
    }
    cursor.insertBlock();
    addField(cursor, QStringLiteral("文書"), QStringLiteral("TG_x_%1").arg(page));
    cursor.insertText(QStringLiteral(" と "));
    addField(cursor, QStringLiteral("ヒント%1").arg(page), QStringLiteral("TP_説明 %1").arg(page));
    QTextTable* table = cursor.insertTable(1, 1);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("セル"));
    cursor.movePosition(QTextCursor::End);
}

// One section of the manual, numbered `n`: about 4 KB.
QByteArray manualSection(int n)
{
    const QByteArray id = QByteArray::number(n);
    QByteArray s;
    s += "<h2><a name=\"s" + id + "\"></a>" + id + ". Configuring the option set " + id + "</h2>\n";
    s += "<p>The program reads its <em>configuration</em> from <code>/etc/example/conf." + id
        + "</code> at start. See <a href=\"#s" + QByteArray::number(n > 0 ? n - 1 : 0)
        + "\">the previous section</a> for the defaults, and <a href=\"#s" + QByteArray::number(n + 1)
        + "\">the next one</a> for the exceptions. Values are <b>case sensitive</b>; "
          "unknown keys are reported &amp; ignored.</p>\n";
    s += "<p>Each key takes a value of its own kind: a number, a string in &quot;quotes&quot;, "
         "or a list separated by commas. A key given twice keeps the last value, which is "
         "the usual rule of such files and the one most people expect.</p>\n";
    s += "<ul>\n<li><code>timeout</code>: seconds to wait\n<ul><li>0 waits forever</li>"
         "<li>negative values are errors</li></ul></li>\n<li><code>retries</code>: how often to try</li>\n"
         "<li><code>log-level</code>: one of <i>debug</i>, <i>info</i>, <i>warning</i></li>\n</ul>\n";
    s += "<dl>\n<dt><code>--verbose</code></dt><dd>Print what is done, step by step.</dd>\n"
         "<dt><code>--quiet</code></dt><dd>Print errors only.</dd>\n</dl>\n";
    s += "<pre class=\"example\">\n$ example --config /etc/example/conf." + id
        + " --verbose\nreading configuration...\n\tsection " + id + ": 3 keys\n$ zpipe &lt; foo.txt &gt; foo.txt.z\n</pre>\n";
    s += "<table border=\"1\">\n<tr><th>Key</th><th>Default</th><th>Meaning</th></tr>\n";
    for (int row = 0; row < 6; ++row)
        s += "<tr><td><code>key" + QByteArray::number(row) + "</code></td><td>" + QByteArray::number(row * n % 97)
            + "</td><td>What key " + QByteArray::number(row) + " of section " + id + " sets.</td></tr>\n";
    s += "</table>\n";
    s += "<p>Written by St\xC3\xA9phane and the contributors; translated notes: "
         "\xE8\xA8\xAD\xE5\xAE\x9A\xE3\x81\xAF\xE5\x86\x8D\xE8\xB5\xB7\xE5\x8B\x95\xE5\xBE\x8C\xE3\x81\xAB"
         "\xE6\x9C\x89\xE5\x8A\xB9\xE3\x81\xA7\xE3\x81\x99\xE3\x80\x82</p>\n";
    return s;
}

} // namespace

void buildDocument(QTextDocument& document, int pages)
{
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (int page = 0; page < pages; ++page)
        addPage(cursor, page);
    cursor.endEditBlock();
}

QByteArray foreignManual(qsizetype bytes)
{
    QByteArray html = "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<html><head>\n"
                      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
                      "<title>Example Manual</title>\n<style type=\"text/css\">\n"
                      "pre.example { background: #f0f0f0; margin-left: 2em }\ncode { font-family: monospace }\n"
                      "</style>\n</head><body>\n<h1>Example Manual</h1>\n";
    html.reserve(bytes + 8192);
    for (int n = 0; html.size() < bytes; ++n) {
        if (n % 20 == 0)
            html += "<h1><a name=\"c" + QByteArray::number(n / 20) + "\"></a>Chapter " + QByteArray::number(n / 20 + 1) + "</h1>\n";
        html += manualSection(n);
    }
    return html + "</body></html>\n";
}

} // namespace benchinputs
