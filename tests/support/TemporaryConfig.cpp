#include "TemporaryConfig.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace {

void Restore(const char *name, const QByteArray &value)
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

} // namespace

TemporaryConfig::TemporaryConfig()
    : savedConfigHome(qgetenv("XDG_CONFIG_HOME")),
      savedNoDefaults(qgetenv("MXRF418_NO_DEFAULT_PORTS"))
{
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
    qputenv("MXRF418_NO_DEFAULT_PORTS", "1");
}

TemporaryConfig::~TemporaryConfig()
{
    Restore("XDG_CONFIG_HOME", savedConfigHome);
    Restore("MXRF418_NO_DEFAULT_PORTS", savedNoDefaults);
}

void EnsureCoreApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "mxrf418-tests";
    static char *argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

void ProcessEventsFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

bool WaitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition() && !deadline.hasExpired())
        ProcessEventsFor(10);
    return condition();
}
