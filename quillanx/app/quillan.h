#pragma once
#include <QString>

// The application object: brings the program up in its fixed order (splash, data source registration,
// connect, single-instance test, login window) and registers every window of the three deliverables.
class Quillan {
public:
    Quillan();
    ~Quillan();
    // Runs the start-up. False when it ended with no window left, so the program should end.
    bool start();

    // The registry key of the driver and the data source, as written at start.
    static QString driverKey();
    static QString translatorKey();
    static QString dataSourcesKey();
    static QString dataSourceKey();
    static QString connectParameters();

    // Every window of the program and of both libraries, by name. Idempotent.
    static void registerAllWindows();
};
