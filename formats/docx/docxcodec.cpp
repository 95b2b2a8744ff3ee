#include "formats/docx/docxcodec.h"

#include "formats/docx/docxbody.h"
#include "formats/docx/docxwriter.h"

#include <QIODevice>

#include <QTextDocument>
#include <QXmlStreamReader>

namespace formats::docx {

namespace {

// Loading a file is not an edit the user can take back.
class UndoPause {
public:
    explicit UndoPause(QTextDocument* document)
        : m_document(document)
        , m_enabled(document && document->isUndoRedoEnabled())
    {
        if (m_document)
            m_document->setUndoRedoEnabled(false);
    }
    ~UndoPause()
    {
        if (m_document)
            m_document->setUndoRedoEnabled(m_enabled);
    }
    UndoPause(const UndoPause&) = delete;
    UndoPause& operator=(const UndoPause&) = delete;

private:
    QTextDocument* m_document;
    bool m_enabled;
};

bool readPart(ReaderContext& context, const QString& name, QTextDocument* document, SectionProperties* section)
{
    const std::optional<QByteArray> xml = context.package.part(name);
    if (!xml || !document)
        return false;
    const UndoPause pause(document);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    BodyReader reader(context, name, cursor);
    const bool read = reader.read(*xml);
    cursor.endEditBlock();
    if (section)
        *section = reader.section();
    return read;
}

// Reads the header or footer of `type` ("default", "first") into `document`.
bool readHeaderFooter(ReaderContext& context, const QString& mainPart, const QHash<QString, QString>& references,
                      const QString& type, QTextDocument* document)
{
    const auto found = references.constFind(type);
    if (found == references.cend() || !document)
        return false;
    const std::optional<Relationship> target = context.package.relationship(mainPart, *found);
    return target && !target->external && readPart(context, target->target, document, nullptr);
}

void readHeadersAndFooters(ReaderContext& context, const QString& mainPart, const SectionProperties& section,
                           const engine::DocumentSet& target)
{
    int flags = 0;
    if (readHeaderFooter(context, mainPart, section.headers, QStringLiteral("default"), target.header))
        flags |= engine::HeaderEveryPage;
    if (readHeaderFooter(context, mainPart, section.footers, QStringLiteral("default"), target.footer))
        flags |= engine::FooterEveryPage;
    if (section.titlePage && readHeaderFooter(context, mainPart, section.headers, QStringLiteral("first"), target.firstHeader))
        flags |= engine::HeaderFirstPage;
    if (section.titlePage && readHeaderFooter(context, mainPart, section.footers, QStringLiteral("first"), target.firstFooter))
        flags |= engine::FooterFirstPage;
    if (!target.pageSetup)
        return;
    if (section.page)
        *target.pageSetup = *section.page;
    if (target.header || target.footer)
        target.pageSetup->headerFooterFlags = flags;
}

// The title of the core properties becomes the document's title.
void readTitle(Package& package, QTextDocument& document)
{
    const std::optional<QString> core = package.targetOfKind(QString(), QStringLiteral("core-properties"));
    const std::optional<QByteArray> xml = core ? package.part(*core) : std::nullopt;
    if (!xml)
        return;
    QXmlStreamReader reader(*xml);
    while (reader.readNextStartElement()) {
        if (reader.name() == u"title") {
            document.setMetaInformation(QTextDocument::DocumentTitle, reader.readElementText().trimmed());
            return;
        }
        if (reader.name() != u"coreProperties")
            reader.skipCurrentElement();
    }
}

std::optional<QString> mainPartOf(Package& package)
{
    if (const std::optional<QString> main = package.targetOfKind(QString(), QStringLiteral("officeDocument")))
        return package.hasPart(*main) ? main : std::nullopt;
    return std::nullopt;
}

} // namespace

ReadOutcome readDocx(const QByteArray& bytes, const engine::DocumentSet& target, const PackageLimits& limits)
{
    ReadOutcome outcome;
    Package package;
    if ((outcome.failure = package.open(bytes, limits)) != PackageFailure::None)
        return outcome;
    const std::optional<QString> main = mainPartOf(package);
    if (!main || !target.body) {
        outcome.failure = package.failure() == PackageFailure::TooLarge ? PackageFailure::TooLarge : PackageFailure::MissingPart;
        return outcome;
    }
    StyleSheet styles;
    if (const auto name = package.targetOfKind(*main, QStringLiteral("styles")))
        styles.read(package.part(*name).value_or(QByteArray()));
    Numbering numbering;
    if (const auto name = package.targetOfKind(*main, QStringLiteral("numbering")))
        numbering.read(package.part(*name).value_or(QByteArray()));
    ReaderContext context{package, styles, numbering, outcome.report};
    SectionProperties section;
    if (!readPart(context, *main, target.body, &section))
        outcome.failure = package.failure() == PackageFailure::TooLarge ? PackageFailure::TooLarge : PackageFailure::Malformed;
    else {
        readHeadersAndFooters(context, *main, section, target);
        readTitle(package, *target.body);
    }
    if (package.failure() == PackageFailure::TooLarge)
        outcome.failure = PackageFailure::TooLarge;
    return outcome;
}

std::optional<QString> failureMessage(PackageFailure failure)
{
    switch (failure) {
    case PackageFailure::Encrypted:
        return QStringLiteral("パスワードで保護された文書は開けません｡");
    case PackageFailure::TooLarge:
        return QStringLiteral("文書が大きすぎて開けません｡");
    default:
        return std::nullopt;
    }
}

bool DocxCodec::read(const QByteArray& bytes, const engine::DocumentSet& target)
{
    return bytes.size() <= maxInputBytes() && readDocx(bytes, target).ok();
}

bool DocxCodec::write(const engine::DocumentSet& source, QIODevice& out)
{
    const std::optional<QByteArray> package = writeDocx(source, m_styles);
    return package && out.write(*package) == package->size();
}

void registerDocxCodec(const html::StyleSet& styles)
{
    engine::registerCodec(engine::FormatCode::Docx, std::make_shared<DocxCodec>(styles));
}

void useStyles(const html::StyleSet& styles)
{
    if (const auto codec = std::dynamic_pointer_cast<DocxCodec>(engine::codecFor(engine::FormatCode::Docx)))
        codec->setStyles(styles);
}

} // namespace formats::docx
