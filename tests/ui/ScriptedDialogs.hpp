#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

#include "ui/Dialogs.hpp"

/// Answers every modal step of the windows from a script and records what
/// was asked. Installs itself for its lifetime.
class ScriptedDialogs final : public ostrovik::ui::Dialogs {
public:
    struct FileQuestion {
        QString title, dir, filter;
    };

    ScriptedDialogs() { ostrovik::ui::setDialogs(this); }
    ~ScriptedDialogs() override { ostrovik::ui::setDialogs(nullptr); }
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    void message(QWidget*, const QString& title, const QString& text) override
    {
        messageTitles.append(title);
        messages.append(text);
    }
    void error(QWidget*, const QString& text) override { errors.append(text); }
    std::optional<QString> openFile(QWidget*, const QString& title, const QString& dir,
                                    const QString& filter) override
    {
        asked.push_back({title, dir, filter});
        return next();
    }
    std::optional<QString> saveFile(QWidget*, const QString& title, const QString& dir,
                                    const QString& filter) override
    {
        asked.push_back({title, dir, filter});
        return next();
    }

    /// The next file dialogs' answers; an empty one means Cancel, and so
    /// does running out of them.
    QStringList answers;
    std::deque<FileQuestion> asked;
    QStringList messageTitles, messages, errors;

private:
    std::optional<QString> next()
    {
        const QString a = answers.isEmpty() ? QString() : answers.takeFirst();
        if (a.isEmpty())
            return std::nullopt;
        return a;
    }
};
