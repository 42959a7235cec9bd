#include "shell/ui/WindowOpeners.h"

#include <map>

namespace WindowOpeners {
namespace {

std::map<Action, Opener> openers;

} // namespace

void Register(Action action, Opener opener)
{
    openers[action] = std::move(opener);
}

bool Run(Action action, QWidget *parent)
{
    const auto found = openers.find(action);
    if (found == openers.end())
        return false;
    // A copy: the action may re-register windows while it runs.
    const Opener opener = found->second;
    opener(parent);
    return true;
}

bool IsRegistered(Action action)
{
    return openers.contains(action);
}

void Reset()
{
    openers.clear();
}

} // namespace WindowOpeners
