#pragma once
// Equations (Office Math, m:oMath and m:oMathPara): the engine has no
// equations, so their text is kept in reading order, a fraction as
// "numerator/denominator".

#include <QString>

class QXmlStreamReader;

namespace formats::docx {

// From the equation's start element to its end.
QString readEquationText(QXmlStreamReader& reader);

} // namespace formats::docx
