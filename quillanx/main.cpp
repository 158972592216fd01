#include "app/quillan.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The command line is not used.
    Quillan quillan;
    if (!quillan.start())
        return 0;
    return app.exec();
}
