// The settings file: one text held in memory, cut and spliced by plain text
// search, read once at start-up and written once at shutdown.

#include "env/codepage.h"
#include "env/dialogs.h"
#include "env/replacingfile.h"
#include "env/settingsgroups.h"
#include "env/settingstext.h"
#include "env/yini.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace env {

namespace {

const QString kRoot = QStringLiteral("運用");
const QString kDeclaration = QStringLiteral("<?xml version='1.0' encoding='Shift-JIS' ?>");
const QString kLineBreakMark = QStringLiteral("‡");
const QString kCrLf = QStringLiteral("\r\n");
// A settings file larger than this is not a settings file; it is left alone.
constexpr qint64 kMaxSettingsBytes = 64 * 1024 * 1024;

QString openTag(const QString& name) { return u'<' + name + u'>'; }
QString closeTag(const QString& name) { return QStringLiteral("</") + name + u'>'; }

// "_DV.xml" (any case) names the same file as ".xml": a development copy of the
// program shares the settings of the released one.
QString withoutDevSuffix(const QString& file)
{
    QString f = file;
    const qsizetype i = f.indexOf(QLatin1String("_DV.xml"), 0, Qt::CaseInsensitive);
    if (i >= 0)
        f.replace(i, 7, QStringLiteral(".xml"));
    return f;
}

const QByteArray kUtf8Bom("\xEF\xBB\xBF");
// Copies of unusable settings files: "User.xml.bak", then "User.xml.bak2" and
// on; an earlier copy is never replaced.
constexpr int kMaxKeptCopies = 9;

bool hasNonAscii(const QByteArray& bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; });
}

// Settings are text: no NUL or other control byte beyond tab and line ends
// (neither the code page nor UTF-8 uses those bytes inside a character).
bool isTextBytes(const QByteArray& bytes)
{
    return std::none_of(bytes.begin(), bytes.end(), [](char c) {
        return uchar(c) < 0x20 && c != '\t' && c != '\r' && c != '\n';
    });
}

QString withoutLeadingBlankLines(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return text.mid(i);
}

QString freeCopyName(const QString& file)
{
    for (int n = 1; n <= kMaxKeptCopies; ++n) {
        const QString name = file + QStringLiteral(".bak") + (n > 1 ? QString::number(n) : QString());
        if (!QFileInfo::exists(name) && !QFileInfo(name).isSymLink())
            return name;
    }
    return {};
}

// The bytes of a settings file; nullopt when it is too large or cannot be read.
std::optional<QByteArray> settingsBytes(QFile& file)
{
    if (file.size() > kMaxSettingsBytes || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace

QString yIni::MakeTag(TagMode mode, const QString& name, const QString& text)
{
    QString s;
    switch (mode) {
    case TagMode::Document:
        s = kDeclaration + kLineBreakMark + openTag(name) + kCrLf + closeTag(name);
        break;
    case TagMode::Group:
        s = QStringLiteral("   ") + openTag(name) + kLineBreakMark + text + QStringLiteral("   ")
            + closeTag(name) + kLineBreakMark;
        break;
    case TagMode::Value:
        s = QStringLiteral("      ") + openTag(name) + text + closeTag(name) + kLineBreakMark;
        break;
    }
    return s.replace(kLineBreakMark, kCrLf);
}

QString yIni::GetTag(TagMode mode, const QString& name) const
{
    const QString& source = mode == TagMode::Group ? m_text : m_groupText;
    if (source.isEmpty())
        return {};
    const qsizetype p1 = source.indexOf(openTag(name));
    const qsizetype p2 = source.indexOf(closeTag(name));
    if (p1 < 0 && p2 < 0)
        return {};
    if (p1 >= 0 && p2 >= 0 && p1 <= p2) {
        const qsizetype s = p1 + name.size() + 2;   // first character after the opening tag
        if (mode == TagMode::Value)
            return source.mid(s, p2 - s);
        // Drop the line break after the opening tag and the indent before the
        // closing one; a group too short to hold them reads as empty.
        const qsizetype length = p2 - s - 5;
        return length > 0 ? source.mid(s + 2, length) : QString();
    }
    dialogs().inform(u'<' + name + QStringLiteral("> の設定が読み込めません") + u'\n'
                     + QStringLiteral("ﾕｰｻﾞｰ環境ﾌｧｲﾙ(") + m_file
                     + QStringLiteral(") が破損しています"));
    return {};
}

bool yIni::GetTxt(const QString& sFL)
{
    m_text.clear();
    m_loadRefused = false;
    m_encoding = Encoding::SystemCodePage;
    m_keptCopy.clear();
    m_file = withoutDevSuffix(sFL);
    QFile file(m_file);
    if (file.exists()) {
        const std::optional<QByteArray> bytes = settingsBytes(file);
        if (!bytes) {
            m_loadRefused = true;
            return false;
        }
        if (!takeFileText(*bytes))
            return false;
    } else if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (m_text.isEmpty())
        m_text = MakeTag(TagMode::Document, kRoot);
    m_loadedText = m_text;
    return true;
}

// A file of blank lines only is empty: the skeleton replaces it. A file that
// is no settings text is kept under another name before the skeleton does.
bool yIni::takeFileText(const QByteArray& bytes)
{
    const std::optional<FileText> found = settingsTextOf(bytes);
    if (!found)
        return keepUnusableFile();
    if (!found->text.isEmpty()) {
        m_text = found->text;
        m_encoding = found->encoding;
    }
    return true;
}

// The settings text of a file's `bytes` ("" for blank lines only); nullopt
// for bytes that hold no settings text.
std::optional<yIni::FileText> yIni::settingsTextOf(const QByteArray& bytes)
{
    if (!isTextBytes(bytes))
        return std::nullopt;
    const bool bom = bytes.startsWith(kUtf8Bom);
    const QByteArray body = bom ? bytes.mid(kUtf8Bom.size()) : bytes;
    const bool utf8 = bom || (hasNonAscii(body) && isValidUtf8(body));
    const QString text = withoutLeadingBlankLines(utf8 ? QString::fromUtf8(body) : fromSystemCodePage(body));
    if (!text.isEmpty() && !text.contains(openTag(kRoot)))
        return std::nullopt;
    return FileText{text, bom ? Encoding::Utf8WithBom : utf8 ? Encoding::Utf8 : Encoding::SystemCodePage};
}

bool yIni::keepUnusableFile()
{
    const QString copy = freeCopyName(m_file);
    if (copy.isEmpty() || !QFile::copy(m_file, copy)) {
        m_loadRefused = true;
        return false;
    }
    m_keptCopy = copy;
    return true;
}

void yIni::GetGtx(const QString& sGp)
{
    m_groupName = sGp;
    m_groupText = GetTag(TagMode::Group, sGp);
}

QString yIni::vGtVal(const QString& sKy, const QString& vDef) const
{
    const QString t = GetTag(TagMode::Value, sKy);
    return t.isEmpty() ? vDef : t;
}

bool yIni::vGtVal(const QString& sKy, bool vDef) const
{
    const QString t = GetTag(TagMode::Value, sKy);
    return t.isEmpty() ? vDef : booleanFromText(t).value_or(vDef);
}

QDateTime yIni::vGtVal(const QString& sKy, const QDateTime& vDef) const
{
    return dateFromText(GetTag(TagMode::Value, sKy)).value_or(vDef);
}

double yIni::vGtVal(const QString& sKy, double vDef) const
{
    const QString t = GetTag(TagMode::Value, sKy);
    return t.isEmpty() ? vDef : leadingNumber(t);
}

void yIni::SetVal(const QString& sKy, const QString& vVL)
{
    const qsizetype p1 = m_groupText.indexOf(openTag(sKy));
    if (p1 >= 0) {
        const qsizetype s = p1 + sKy.size() + 2;   // just after the opening tag
        const qsizetype p2 = m_groupText.indexOf(closeTag(sKy), s);
        if (p2 >= 0) {
            m_groupText = m_groupText.left(s) + vVL + m_groupText.mid(p2);
            return;
        }
    }
    m_groupText += MakeTag(TagMode::Value, sKy, vVL);
}

void yIni::SetVal(const QString& sKy, bool vVL) { SetVal(sKy, booleanText(vVL)); }
void yIni::SetVal(const QString& sKy, double vVL) { SetVal(sKy, numberText(vVL)); }
void yIni::SetVal(const QString& sKy, int vVL) { SetVal(sKy, QString::number(vVL)); }
void yIni::SetVal(const QString& sKy, const QDateTime& vVL) { SetVal(sKy, dateText(vVL)); }

void yIni::SetGtx()
{
    if (m_text.isEmpty())
        m_text = MakeTag(TagMode::Document, kRoot);
    settingsgroups::put(m_text, m_groupName, m_groupText + QStringLiteral("   "),
                        MakeTag(TagMode::Group, m_groupName, m_groupText), kRoot);
}

// Another copy of the program may have written the file since this one read
// it: the file is read again, and only the groups this copy changed replace
// the file's.
bool yIni::SetTxt()
{
    // A file we could not read is never overwritten with what we did not read.
    if (m_file.isEmpty() || m_loadRefused)
        return false;
    const std::optional<QString> disk = textOnDisk();
    if (!disk)
        return false;
    if (!disk->isEmpty())
        m_text = settingsgroups::merged(*disk, m_loadedText, m_text, kRoot);
    ReplacingFile file(m_file);
    if (!file.open())
        return false;
    file.device().write(encodedText());
    if (!file.commit())
        return false;
    m_loadedText = m_text;
    return true;
}

// The settings text the file holds now: "" when it is missing, blank or holds
// no settings text (this copy's text then replaces it whole), nullopt when it
// cannot be read.
std::optional<QString> yIni::textOnDisk() const
{
    QFile file(m_file);
    if (!file.exists())
        return QString();
    const std::optional<QByteArray> bytes = settingsBytes(file);
    if (!bytes)
        return std::nullopt;
    const std::optional<FileText> found = settingsTextOf(*bytes);
    return found ? found->text : QString();
}

QByteArray yIni::encodedText() const
{
    switch (m_encoding) {
    case Encoding::Utf8WithBom:
        return kUtf8Bom + m_text.toUtf8();
    case Encoding::Utf8:
        return m_text.toUtf8();
    case Encoding::SystemCodePage:
        break;
    }
    return toSystemCodePage(m_text);
}

} // namespace env
