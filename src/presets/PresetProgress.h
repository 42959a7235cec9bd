#pragma once

#include <functional>

namespace Presets {

/// How a preset action shows how far it got. Any member may be left empty.
struct Progress
{
    /// Before the first frame: the display starts at `value` of `maximum` and is shown.
    std::function<void(int value, int maximum)> start;
    /// One more step done.
    std::function<void()> step;
    /// The action ended, done or given up.
    std::function<void()> finish;
};

/// One run of a progress display: started when made, finished when it goes, whatever way the
/// action ends.
class ProgressRun
{
public:
    ProgressRun(const Progress &progress, int value, int maximum) : progress(progress)
    {
        if (progress.start)
            progress.start(value, maximum);
    }
    ~ProgressRun()
    {
        if (progress.finish)
            progress.finish();
    }
    ProgressRun(const ProgressRun &) = delete;
    ProgressRun &operator=(const ProgressRun &) = delete;

    void Step() const
    {
        if (progress.step)
            progress.step();
    }

private:
    const Progress &progress;
};

} // namespace Presets
