// Builds a fresh database file from the schema and initial content compiled into the common library.
#include "platform/transaction.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: mkdb PATH\n";
        return 2;
    }
    const QString error = db::createDatabase(args.at(1));
    if (!error.isEmpty()) {
        QTextStream(stderr) << "mkdb: " << error << "\n";
        return 1;
    }
    return 0;
}
