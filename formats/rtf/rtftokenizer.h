#pragma once
// The lexical layer of RTF: groups, control words with their parameters,
// control symbols, runs of text bytes, hex escapes (\'hh) and \binN data.
// The tokenizer knows no control word's meaning apart from \bin, whose
// parameter says how many raw bytes follow.

#include <QByteArray>
#include <QByteArrayView>

namespace formats::rtf {

struct Token {
    enum Kind {
        GroupStart,
        GroupEnd,
        ControlWord,   // name, hasParameter, parameter
        ControlSymbol, // symbol
        Text,          // bytes: plain text bytes, without line ends
        HexByte,       // symbol: the byte of \'hh
        Binary,        // bytes: the data of \binN
        End,           // the end of the input
        Broken,        // \binN reaching past the end of the input
    };
    Kind kind = End;
    QByteArrayView name;
    QByteArrayView bytes;
    int parameter = 0;
    bool hasParameter = false;
    char symbol = 0;
};

class Tokenizer {
public:
    explicit Tokenizer(QByteArrayView input)
        : m_input(input)
    {
    }

    Token next();
    qsizetype position() const { return m_position; }

private:
    Token controlWord();
    Token text();

    QByteArrayView m_input;
    qsizetype m_position = 0;
};

} // namespace formats::rtf
