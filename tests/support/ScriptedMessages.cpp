#include "ScriptedMessages.h"

#include <QStringList>

ScriptedMessages::ScriptedMessages()
{
    Messages::Reset();
    Messages::SetBoxPresenter([this](const Messages::Box &box) {
        Messages::Answer next = box.defaultAnswer;
        if (!answers.empty()) {
            next = answers.front();
            answers.pop_front();
        }
        if (answering)
            answering();
        return next;
    });
    Messages::SetFilePresenter([this](const Messages::FileRequest &request) {
        fileRequests.push_back(request);
        if (files.empty())
            return QString();
        const QString next = files.front();
        files.pop_front();
        return next;
    });
}

ScriptedMessages::~ScriptedMessages()
{
    Messages::Reset();
}

QStringList ScriptedMessages::Texts() const
{
    QStringList texts;
    for (const Messages::Shown &shown : Messages::Log())
        texts << shown.box.text;
    return texts;
}

bool ScriptedMessages::ShownOnly(const QString &text, const QString &title,
                                 Messages::Icon icon) const
{
    const std::vector<Messages::Shown> &log = Messages::Log();
    return log.size() == 1 && log[0].box.text == text && log[0].box.title == title &&
        log[0].box.icon == icon;
}
