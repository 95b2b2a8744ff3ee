#include "formats/docx/docxcodec.h"
#include "formats/word/undopause.h"

#include "formats/docx/docxbody.h"
#include "formats/docx/docxwriter.h"

#include <QIODevice>

#include <QTextDocument>
#include <QXmlStreamReader>

namespace formats::docx {

namespace {

using word::UndoPause;

// Reads part `name` through a cursor at the start of `document`, or at its
// end after its last paragraph when `append`.
PackageFailure readPart(ReaderContext& context, const QString& name, QTextDocument* document, bool append,
                        SectionProperties* section)
{
    const std::optional<QByteArray> xml = context.package.part(name);
    if (!xml || !document)
        return context.package.failure() == PackageFailure::TooLarge ? PackageFailure::TooLarge : PackageFailure::MissingPart;
    const UndoPause pause(document);
    QTextCursor cursor(document);
    if (append)
        cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    BodyReader reader(context, name, cursor);
    if (append)
        reader.continueAfterCurrentBlock();
    const bool read = reader.read(*xml);
    cursor.endEditBlock();
    if (section)
        *section = reader.section();
    if (!read)
        return PackageFailure::Malformed;
    return reader.tooDeep() ? PackageFailure::TooDeep : PackageFailure::None;
}

// A failure that refuses the whole document even where it is met in a part
// the document can do without.
bool refusesDocument(PackageFailure failure)
{
    return failure == PackageFailure::TooLarge || failure == PackageFailure::TooDeep;
}

// Reads the header or footer of `type` ("default", "first") into `document`.
PackageFailure readHeaderFooter(ReaderContext& context, const QString& mainPart, const QHash<QString, QString>& references,
                                const QString& type, QTextDocument* document)
{
    const auto found = references.constFind(type);
    if (found == references.cend() || !document)
        return PackageFailure::MissingPart;
    const std::optional<Relationship> target = context.package.relationship(mainPart, *found);
    if (!target || target->external)
        return PackageFailure::MissingPart;
    return readPart(context, target->target, document, false, nullptr);
}

// The failure that refuses the document, if one was met.
PackageFailure readHeadersAndFooters(ReaderContext& context, const QString& mainPart, const SectionProperties& section,
                                     const engine::DocumentSet& target)
{
    struct Part {
        const QHash<QString, QString>& references;
        QString type;
        QTextDocument* document;
        int flag;
    };
    const bool title = section.titlePage;
    const Part parts[] = {
        {section.headers, QStringLiteral("default"), target.header, engine::HeaderEveryPage},
        {section.footers, QStringLiteral("default"), target.footer, engine::FooterEveryPage},
        {section.headers, QStringLiteral("first"), title ? target.firstHeader : nullptr, engine::HeaderFirstPage},
        {section.footers, QStringLiteral("first"), title ? target.firstFooter : nullptr, engine::FooterFirstPage},
    };
    int flags = 0;
    for (const Part& part : parts) {
        const PackageFailure failure = readHeaderFooter(context, mainPart, part.references, part.type, part.document);
        if (refusesDocument(failure))
            return failure;
        if (failure == PackageFailure::None)
            flags |= part.flag;
    }
    if (!target.pageSetup)
        return PackageFailure::None;
    if (section.page)
        *target.pageSetup = *section.page;
    if (target.header || target.footer)
        target.pageSetup->headerFooterFlags = flags;
    return PackageFailure::None;
}

// The notes the text refers to go after it, under a line: footnotes, then
// endnotes, each with its mark.
PackageFailure appendNotes(ReaderContext& context, const QString& mainPart, QTextDocument* body)
{
    QStringList parts;
    for (const auto& [kind, marks] : {std::pair(QStringLiteral("footnotes"), &context.notes.footnotes),
                                      std::pair(QStringLiteral("endnotes"), &context.notes.endnotes)}) {
        if (const auto part = marks->isEmpty() ? std::nullopt : context.package.targetOfKind(mainPart, kind))
            parts << *part;
    }
    if (parts.isEmpty())
        return PackageFailure::None;
    QTextCursor cursor(body);
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertText(QStringLiteral("――――――――"));
    for (const QString& part : parts) {
        if (const PackageFailure failure = readPart(context, part, body, true, nullptr); refusesDocument(failure))
            return failure;
    }
    return PackageFailure::None;
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
    outcome.failure = readPart(context, *main, target.body, false, &section);
    if (outcome.ok())
        outcome.failure = appendNotes(context, *main, target.body);
    if (outcome.ok())
        outcome.failure = readHeadersAndFooters(context, *main, section, target);
    if (outcome.ok())
        readTitle(package, *target.body);
    if (package.failure() == PackageFailure::TooLarge)
        outcome.failure = PackageFailure::TooLarge;
    return outcome;
}

QString failureMessage(PackageFailure failure)
{
    switch (failure) {
    case PackageFailure::None:
        break;
    case PackageFailure::NotAPackage:
        return QStringLiteral("ﾌｧｲﾙが壊れているか､ﾜｰﾄﾞ文書ではありません｡");
    case PackageFailure::Encrypted:
        return QStringLiteral("パスワードで保護された文書は開けません｡");
    case PackageFailure::TooLarge:
        return QStringLiteral("文書が大きすぎます｡");
    case PackageFailure::MissingPart:
        return QStringLiteral("文書に必要な部分が見つかりません｡");
    case PackageFailure::Malformed:
        return QStringLiteral("文書の中身が壊れています｡");
    case PackageFailure::TooDeep:
        return QStringLiteral("文書の入れ子が深すぎます｡");
    }
    return {};
}

bool DocxCodec::read(const QByteArray& bytes, const engine::DocumentSet& target)
{
    const ReadOutcome outcome = bytes.size() <= maxInputBytes() ? readDocx(bytes, target) : ReadOutcome{PackageFailure::TooLarge, {}};
    if (target.report) {
        target.report->refusal = failureMessage(outcome.failure);
        for (const word::Loss loss : outcome.report.losses)
            target.report->losses << describe(loss);
    }
    return outcome.ok();
}

bool DocxCodec::write(const engine::DocumentSet& source, QIODevice& out)
{
    const std::optional<QByteArray> package = writeDocx(source, styles());
    return package && out.write(*package) == package->size();
}

void registerDocxCodec(const html::StyleSet& styles)
{
    engine::registerCodec(engine::FormatCode::Docx, std::make_shared<DocxCodec>(styles));
}

} // namespace formats::docx
