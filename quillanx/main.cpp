#include "app/quillan.h"
#include "platform/services.h"

#include <QApplication>

int main(int argc, char **argv)
{
    // Before anything is allocated: a long print would otherwise hand its page buffers back at every page.
    services::keepFreedHeap();
    QApplication app(argc, argv);
    // The desktop's logout ends the program as its own exits do: disconnected, the file left whole.
    services::haltOnEndSignals();
    // The command line is not used.
    Quillan quillan;
    if (!quillan.start())
        return 0;
    return app.exec();
}
