#include "link/LineUse.h"

#include <utility>
#include <vector>

#include <QPointer>

namespace LineUse {

namespace {

struct PutOff
{
    QPointer<QObject> context;
    std::function<void()> retry;
};

int holds = 0;
std::vector<PutOff> putOff;

void RetryPutOff()
{
    // Queued: the holder is still inside its frame or sequence and goes on with it first.
    for (PutOff &waiting : std::exchange(putOff, {})) {
        if (waiting.context)
            QMetaObject::invokeMethod(waiting.context, std::move(waiting.retry),
                                      Qt::QueuedConnection);
    }
}

} // namespace

Hold::Hold()
{
    ++holds;
}

Hold::~Hold()
{
    if (--holds == 0)
        RetryPutOff();
}

bool Taken()
{
    return holds > 0;
}

bool PutOffWhileTaken(QObject *context, std::function<void()> retry)
{
    if (!Taken())
        return false;
    const auto same = [context](const PutOff &waiting) { return waiting.context == context; };
    std::erase_if(putOff, same);
    putOff.push_back({context, std::move(retry)});
    return true;
}

} // namespace LineUse
