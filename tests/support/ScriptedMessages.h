#pragma once

#include <deque>
#include <functional>

#include <QStringList>

#include "shell/Messages.h"

/// Answers message boxes and file dialogs from queues while it lives; unqueued boxes get their
/// default answer and unqueued file dialogs are cancelled. Restores no presenter when it ends.
class ScriptedMessages
{
public:
    ScriptedMessages();
    ~ScriptedMessages();

    void Answer(Messages::Answer answer) { answers.push_back(answer); }
    void ChooseFile(const QString &path) { files.push_back(path); }
    /// `look` runs as each box is answered, while it is still up; a wait in it keeps the box up
    /// with the event loop running behind it, as behind a real modal box.
    void WhenAnswering(std::function<void()> look) { answering = std::move(look); }

    /// Every box shown since this object was made (or since the log was cleared).
    const std::vector<Messages::Shown> &Shown() const { return Messages::Log(); }
    /// Texts of the boxes shown, in order.
    QStringList Texts() const;
    /// True when exactly one box was shown and it had this text, title and icon.
    bool ShownOnly(const QString &text, const QString &title, Messages::Icon icon) const;
    std::vector<Messages::FileRequest> fileRequests;

private:
    std::deque<Messages::Answer> answers;
    std::deque<QString> files;
    std::function<void()> answering;
};
