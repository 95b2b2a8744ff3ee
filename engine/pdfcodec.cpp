#include "engine/pdfcodec.h"

#include "engine/pagelayout.h"
#include "engine/pdfwriter.h"

#include <QTextDocument>

namespace engine {

bool PdfCodec::read(const QByteArray&, const DocumentSet&)
{
    return false;
}

bool PdfCodec::write(const DocumentSet& source, QIODevice& out)
{
    if (!source.body)
        return false;
    const PageLayout layout(*source.body, source.pageSetup ? *source.pageSetup : PageSetup{},
                            headerFooterOf(source));
    return writePdf(layout, out, source.body->metaInformation(QTextDocument::DocumentTitle));
}

} // namespace engine
