#include "tools/qt/AsmLexer.hpp"

#include <set>
#include <string>

#include <QColor>
#include <QFont>
#include <Qsci/qsciscintilla.h>

#include "tools/AsmReference.hpp"

namespace ostrovik::tools {

namespace {

/// The instructions of the reference list and the directives, in capitals.
const std::set<std::string>& keyWords()
{
    static const std::set<std::string> words = [] {
        std::set<std::string> w = {"EQU", "ORG", "DB", "DW", "DS", "END", "SET"};
        for (const AsmReferenceRow& row : asmReference())
            w.insert(row.instruction.substr(0, row.instruction.find(' ')));
        return w;
    }();
    return words;
}

bool isWordStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '?' || c == '@' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool isWordChar(char c)
{
    return isWordStart(c) || (c >= '0' && c <= '9');
}

} // namespace

AsmLexer::AsmLexer(QObject* parent) : QsciLexerCustom(parent)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(10);
    struct Look {
        Style style;
        QColor colour;
        bool bold;
    };
    // The highlighter's colours: green, blue, navy, maroon (bold), yellow,
    // teal and fuchsia on white.
    const Look looks[] = {
        {Default, Qt::black, false},       {Comment, QColor(0x00, 0x80, 0x00), false},
        {Identifier, QColor(0x00, 0x00, 0xFF), false}, {KeyWord, QColor(0x00, 0x00, 0x80), false},
        {Number, QColor(0x80, 0x00, 0x00), true},      {WhiteSpace, QColor(0xFF, 0xFF, 0x00), false},
        {String, QColor(0x00, 0x80, 0x80), false},     {Symbol, QColor(0xFF, 0x00, 0xFF), false},
    };
    for (const Look& look : looks) {
        QFont f = font;
        f.setBold(look.bold);
        setFont(f, look.style);
        setColor(look.colour, look.style);
        setPaper(Qt::white, look.style);
    }
    setDefaultPaper(Qt::white);
    setDefaultFont(font);
}

QString AsmLexer::description(int style) const
{
    static const char* const names[] = {"Default", "Comment", "Identifier", "Key word",
                                        "Number",  "White space", "String", "Symbol"};
    return style >= 0 && style < StyleCount ? QString::fromLatin1(names[style]) : QString();
}

QByteArray AsmLexer::styleLine(const QByteArray& line)
{
    QByteArray styles(line.size(), static_cast<char>(Default));
    const int n = static_cast<int>(line.size());
    int i = 0;
    auto mark = [&](int from, int to, Style s) {
        for (int k = from; k < to; ++k)
            styles[k] = static_cast<char>(s);
    };
    while (i < n) {
        const char c = line[i];
        int j = i + 1;
        Style s = Symbol;
        if (c == ';') {
            j = n;
            s = Comment;
        } else if (c == '\r' || c == '\n') {
            s = Default;
        } else if (c == ' ' || c == '\t') {
            while (j < n && (line[j] == ' ' || line[j] == '\t'))
                ++j;
            s = WhiteSpace;
        } else if (c == '"' || c == '\'') {
            while (j < n && line[j] != c && line[j] != '\n' && line[j] != '\r')
                ++j;
            if (j < n && line[j] == c)
                ++j;
            s = String;
        } else if (c >= '0' && c <= '9') {
            while (j < n && isWordChar(line[j]))
                ++j;
            s = Number;
        } else if (isWordStart(c)) {
            while (j < n && isWordChar(line[j]))
                ++j;
            const std::string word = line.mid(i, j - i).toUpper().toStdString();
            s = keyWords().count(word) ? KeyWord : Identifier;
        }
        mark(i, j, s);
        i = j;
    }
    return styles;
}

void AsmLexer::styleText(int start, int end)
{
    QsciScintilla* ed = editor();
    if (!ed || end <= start)
        return;
    // Nothing spans lines, so each line is styled on its own from its start.
    const int firstLine = static_cast<int>(ed->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, start));
    const int from = static_cast<int>(ed->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, firstLine));
    QByteArray text(end - from + 1, '\0');
    ed->SendScintilla(QsciScintilla::SCI_GETTEXTRANGE, from, end, text.data());
    text.truncate(end - from);
    startStyling(from);
    int lineStart = 0;
    while (lineStart < text.size()) {
        int lineEnd = static_cast<int>(text.indexOf('\n', lineStart));
        lineEnd = lineEnd < 0 ? static_cast<int>(text.size()) : lineEnd + 1;
        const QByteArray styles = styleLine(text.mid(lineStart, lineEnd - lineStart));
        int k = 0;
        while (k < styles.size()) {
            int m = k + 1;
            while (m < styles.size() && styles[m] == styles[k])
                ++m;
            setStyling(m - k, styles[k]);
            k = m;
        }
        lineStart = lineEnd;
    }
}

} // namespace ostrovik::tools
