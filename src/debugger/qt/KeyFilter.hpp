#pragma once

#include <QObject>
#include <QString>

class QKeyEvent;

namespace ostrovik::debugger {

/// Drops the typed characters a field does not take. Keys that type
/// nothing (arrows, Delete, shortcuts) pass untouched.
class KeyFilter : public QObject {
    Q_OBJECT
public:
    /// @p allowed: the characters that pass; Backspace and Enter pass only
    /// when @p backspace / @p enter say so.
    KeyFilter(QString allowed, bool backspace, bool enter, QObject* parent);

    /// Hexadecimal digits in either case.
    static QString hexDigits() { return QStringLiteral("0123456789ABCDEFabcdef"); }

    /// Whether @p key types a character this filter drops.
    bool drops(const QKeyEvent& key) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString allowed_;
    bool backspace_;
    bool enter_;
};

} // namespace ostrovik::debugger
