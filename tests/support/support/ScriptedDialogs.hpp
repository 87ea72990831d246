#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "files/avi/AviCodecs.hpp"

#include "kit/Dialogs.hpp"

namespace ostrovik::test {

/// Answers every modal step of the windows from a script and records what
/// was asked. It installs itself for its lifetime and puts back whatever was
/// installed before, so a test that returns early on a failed check leaves
/// the real dialogs in place.
class ScriptedDialogs final : public kit::Dialogs {
public:
    struct FileQuestion {
        QString title, dir, filter, defaultSuffix;
    };

    ScriptedDialogs() : previous_(installedDouble()) { kit::setDialogs(this); }
    ~ScriptedDialogs() override { kit::setDialogs(previous_); }
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    void message(QWidget* parent, const QString& title, const QString& text) override
    {
        messageTitles.append(title);
        messages.append(text);
        if (onBox)
            onBox(parent);
    }
    void error(QWidget* parent, const QString& text) override
    {
        errors.append(text);
        if (onBox)
            onBox(parent);
    }
    std::optional<QString> openFile(QWidget*, const QString& title, const QString& dir, const QString& filter,
                                    const QString& defaultSuffix = QString()) override
    {
        asked.push_back({title, dir, filter, defaultSuffix});
        if (whileFileDialogOpen)
            whileFileDialogOpen();
        return next();
    }
    std::optional<QString> saveFile(QWidget*, const QString& title, const QString& dir,
                                    const QString& filter) override
    {
        asked.push_back({title, dir, filter, QString()});
        return next();
    }

    bool compressorOptions(QWidget*, const QString& title,
                           std::vector<files::avi::CompressorOption>& options) override
    {
        codecDialogs.append(title);
        codecOptionsShown = options;
        if (!codecAnswer)
            return false;
        for (files::avi::CompressorOption& o : options)
            if (const auto it = codecEdits.find(o.name); it != codecEdits.end())
                o.value = it->second;
        return true;
    }

    /// The codec dialog's answer: OK after the edits, or Cancel.
    bool codecAnswer = false;
    std::map<std::string, std::string> codecEdits;
    QStringList codecDialogs;
    std::vector<files::avi::CompressorOption> codecOptionsShown;

    bool askYesNo(QWidget*, const QString& title, const QString& text) override
    {
        questions.append(title + QLatin1Char('|') + text);
        return yesNoAnswers.isEmpty() ? false : yesNoAnswers.takeFirst();
    }
    std::optional<QString> chooseFolder(QWidget*, const QString& title, const QString& dir) override
    {
        asked.push_back({title, dir, QString(), QString()});
        return next();
    }

    std::optional<kit::NetSessionChoice> netSession(QWidget*, const kit::NetSessionRequest& request) override
    {
        sessionsShown.push_back(request);
        if (sessionAnswers.empty())
            return std::nullopt;
        const std::optional<kit::NetSessionChoice> a = sessionAnswers.front();
        sessionAnswers.pop_front();
        return a;
    }
    /// The next connection dialogs' answers (Cancel when they run out), and
    /// what each dialog was opened with.
    std::deque<std::optional<kit::NetSessionChoice>> sessionAnswers;
    std::vector<kit::NetSessionRequest> sessionsShown;

    /// The answers to the next Yes/No questions (No when they run out), and
    /// the questions asked, as "title|text".
    QList<bool> yesNoAnswers;
    QStringList questions;
    /// The next file and folder dialogs' answers; an empty one means Cancel, and so
    /// does running out of them.
    QStringList answers;
    std::deque<FileQuestion> asked;
    QStringList messageTitles, messages, errors;
    /// Runs as a message or error box would open, with the window it is over.
    std::function<void(QWidget* parent)> onBox;
    /// Runs while an open dialog is up, before it is answered: what a user
    /// or another program does meanwhile.
    std::function<void()> whileFileDialogOpen;

private:
    /// The double installed now, or nullptr when the real dialogs are in use.
    static kit::Dialogs* installedDouble()
    {
        kit::Dialogs* const installed = &kit::dialogs();
        kit::setDialogs(nullptr);
        return installed == &kit::dialogs() ? nullptr : installed;
    }
    std::optional<QString> next()
    {
        const QString a = answers.isEmpty() ? QString() : answers.takeFirst();
        if (a.isEmpty())
            return std::nullopt;
        return a;
    }

    kit::Dialogs* previous_;
};

} // namespace ostrovik::test
