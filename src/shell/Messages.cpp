#include "shell/Messages.h"

namespace Messages {
namespace {

constexpr std::size_t LogLimit = 100;

struct State
{
    BoxPresenter boxPresenter;
    FilePresenter filePresenter;
    std::function<void(bool)> boxUpHook;
    std::vector<Shown> log;
};

State state;

void Remember(const Box &box)
{
    if (state.log.size() == LogLimit)
        state.log.erase(state.log.begin());
    state.log.push_back({box});
}

} // namespace

Answer Show(const Box &box)
{
    if (state.boxUpHook)
        state.boxUpHook(true);
    const Answer answer = state.boxPresenter ? state.boxPresenter(box) : box.defaultAnswer;
    if (state.boxUpHook)
        state.boxUpHook(false);
    Remember(box);
    return answer;
}

void Tell(const QString &text, const QString &title, Icon icon)
{
    Show({text, title, icon, Buttons::Ok, Answer::Ok});
}

void Warn(const QString &text)
{
    Tell(text, QStringLiteral("Warning"), Icon::Exclamation);
}

bool Ask(const QString &text, const QString &title, Answer defaultAnswer)
{
    return Show({text, title, Icon::Question, Buttons::YesNo, defaultAnswer}) == Answer::Yes;
}

QString AskFileName(const FileRequest &request)
{
    return state.filePresenter ? state.filePresenter(request) : QString();
}

void SetBoxPresenter(BoxPresenter presenter)
{
    state.boxPresenter = std::move(presenter);
}

void SetFilePresenter(FilePresenter presenter)
{
    state.filePresenter = std::move(presenter);
}

void SetBoxUpHook(std::function<void(bool up)> hook)
{
    state.boxUpHook = std::move(hook);
}

const std::vector<Shown> &Log()
{
    return state.log;
}

void ClearLog()
{
    state.log.clear();
}

void Reset()
{
    state = State{};
}

} // namespace Messages
