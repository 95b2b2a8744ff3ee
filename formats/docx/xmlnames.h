#pragma once
// Reading the package's XML by local names. The transitional and the strict
// flavour of the format differ in their namespace addresses only (w:, r:,
// wp:, a: ...), so the readers match elements and attributes by local name
// and never by prefix or address.

#include <QStringView>
#include <QXmlStreamReader>

namespace formats::docx {

// The value of the current element's attribute with local name `name` ("" when absent).
inline QString attribute(const QXmlStreamReader& reader, QStringView name)
{
    for (const QXmlStreamAttribute& a : reader.attributes()) {
        if (a.name() == name)
            return a.value().toString();
    }
    return {};
}

inline bool hasAttribute(const QXmlStreamReader& reader, QStringView name)
{
    for (const QXmlStreamAttribute& a : reader.attributes()) {
        if (a.name() == name)
            return true;
    }
    return false;
}

// Deeper than this the readers skip what they find: untrusted files may nest
// elements without end.
constexpr int kMaxElementDepth = 256;

} // namespace formats::docx
