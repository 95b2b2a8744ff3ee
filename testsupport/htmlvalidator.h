#pragma once
// Checks written files against the W3C's HTML 4.01 DTDs with OpenSP's
// `onsgmls` (Debian package opensp, catalogue from w3c-sgml-lib).

#include <QString>

namespace testsupport {

// Whether `onsgmls` can be run here; tests skip the check when it cannot.
bool htmlValidatorInstalled();

// What the validator says against the file at `path`; empty when it finds
// nothing wrong.
QString htmlValidatorComplaints(const QString& path);

} // namespace testsupport
