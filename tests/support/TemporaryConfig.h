#pragma once

#include <functional>

#include <QByteArray>
#include <QTemporaryDir>

/// While it lives, the user's configuration location (and so the port map and the program's
/// settings) is an empty temporary folder, and the default port rule is off: only ports a test
/// maps exist. The environment is restored afterwards.
class TemporaryConfig
{
public:
    TemporaryConfig();
    ~TemporaryConfig();
    TemporaryConfig(const TemporaryConfig &) = delete;
    TemporaryConfig &operator=(const TemporaryConfig &) = delete;

    QString Path() const { return folder.path(); }

private:
    QTemporaryDir folder;
    QByteArray savedConfigHome;
    QByteArray savedNoDefaults;
};

/// The Qt application the link needs for its event loop; made on first use when the test
/// program has none.
void EnsureCoreApplication();

/// Runs the event loop for `ms` milliseconds (timers fire, late replies arrive).
void ProcessEventsFor(int ms);

/// Runs the event loop until `condition` holds or `timeoutMs` ran out; answers the condition.
bool WaitUntil(const std::function<bool()> &condition, int timeoutMs);
