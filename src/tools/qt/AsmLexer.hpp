#pragma once

#include <Qsci/qscilexercustom.h>

namespace ostrovik::tools {

/// The workbench's own 8080 highlighter: comments, identifiers, key words
/// (instructions and directives), numbers, white space, strings and
/// symbols, each in the workbench's colour on white.
class AsmLexer : public QsciLexerCustom {
    Q_OBJECT
public:
    enum Style { Default = 0, Comment, Identifier, KeyWord, Number, WhiteSpace, String, Symbol, StyleCount };

    explicit AsmLexer(QObject* parent = nullptr);

    const char* language() const override { return "Asm8080"; }
    QString description(int style) const override;
    void styleText(int start, int end) override;

    /// The style of each byte of @p line (UTF-8), as styleText gives it.
    static QByteArray styleLine(const QByteArray& line);
};

} // namespace ostrovik::tools
