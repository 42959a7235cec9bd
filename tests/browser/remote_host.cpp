// The browser test's program: connects to a unit on a device path as the command-line tool does
// (the load after connecting), with the curves following the model as in the program, starts
// the web remote and prints "URL <loopback address>" on stdout; then polls the meters at the
// panel's rate for the remote until SIGTERM.
#include <cstdio>

#include <QCoreApplication>
#include <QTimer>

#include "cli/Session.h"
#include "editors/Meters.h"
#include "graph/ModGraph.h"
#include "link/LineUse.h"
#include "model/ModFun.h"
#include "remote/RemoteServer.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: remote_host DEVICE\n");
        return 1;
    }
    ModGraph::FollowModel();
    Cli::GlobalOptions options;
    options.device = QString::fromLocal8Bit(argv[1]);
    Cli::Session session(options);
    if (session.Connect())
        return 2;
    RemoteServer server;
    if (!server.Start())
        return 3;
    std::printf("URL http://127.0.0.1:%u/%s/\n", server.Port(), qPrintable(server.Token()));
    std::fflush(stdout);

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&server] {
        // As the panel's poll: never inside an exchange that waits for its reply.
        if (LineUse::Taken())
            return;
        Meters::Poll(ModFun::state.Mute);
        server.SendMeters();
    });
    poll.start(RemoteServer::PeriodMs);
    return QCoreApplication::exec();
}
