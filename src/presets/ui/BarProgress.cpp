#include "presets/ui/BarProgress.h"

#include <memory>
#include <optional>

#include <QPointer>
#include <QProgressBar>

#include "shell/ui/PointerOverride.h"

namespace Presets {

Progress BarProgress(QProgressBar *bar, std::function<void(bool running)> running)
{
    const QPointer<QProgressBar> shown(bar);
    const auto pointer = std::make_shared<std::optional<PointerOverride>>();
    Progress progress;
    progress.start = [shown, running, pointer](int value, int maximum) {
        pointer->emplace(Qt::BusyCursor);
        if (shown) {
            shown->setMaximum(maximum);
            shown->setValue(value);
        }
        if (running)
            running(true);
    };
    progress.step = [shown] {
        if (shown)
            shown->setValue(shown->value() + 1);
    };
    progress.finish = [shown, running, pointer] {
        if (shown)
            shown->setValue(0);
        if (running)
            running(false);
        pointer->reset();
    };
    return progress;
}

Progress PanelProgress(QWidget *panel)
{
    QProgressBar *bar =
        panel ? panel->findChild<QProgressBar *>(QStringLiteral("ProgressBar1")) : nullptr;
    const QPointer<QWidget> frame(bar && bar->parentWidget() != panel ? bar->parentWidget() : bar);
    const QPointer<QProgressBar> shownBar(bar);
    return BarProgress(bar, [frame, shownBar](bool running) {
        if (!frame || !shownBar)
            return;
        if (!running) {
            frame->hide();
            return;
        }
        shownBar->show();
        frame->show();
        frame->raise();
    });
}

} // namespace Presets
