#include <QApplication>

#include "shell/ui/MessagePresenters.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InstallMessagePresenters();
    return 0;
}
