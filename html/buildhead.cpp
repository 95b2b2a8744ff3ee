#include "html/htmlstrings.h"
#include "html/passes.h"

namespace html {

QString BuildHead(const QString& title, const QString& styleBlock)
{
    // The title is text: markup characters in it are written as references.
    QString head = QStringLiteral(
        "<!DOCTYPE html PUBLIC '-//W3C//DTD HTML 4.01 Transitional//EN' "
        "'http://www.w3.org/TR/html4/loose.dtd'>~"
        "<html>~<head>~"
        "<meta http-equiv='Content-Type' content='text/html; charset=UTF-8'>~");
    head += styleBlock + QStringLiteral("<title>") + validHtmlText(title).toHtmlEscaped() + QStringLiteral("</title>~</head>");
    return head.replace(u'~', QStringLiteral("\r\n"));
}

} // namespace html
