#pragma once
#include <QList>
#include <QMap>
#include <QString>

// The windows the benchmark opens, each measured in a process of its own.
namespace bench {

struct Case {
    QString id;    // what --cases matches
    QString title; // the table's name for it
    bool perSize;  // run for every data set (else once, on the first)
};

// A screenful, as the bare read of a first screen reads it, and the pages scrolled per case.
constexpr int kScreenRows = 50;
constexpr int kPages = 10;

// Every case in the order the table lists them. "empty" is the reference the others are held against.
const QList<Case> &allCases();

// What a case's process reports: figures in milliseconds and megabytes, rows, and a note.
using Figures = QMap<QString, QString>;

// Runs one case in this process, from the application's start, on the data set in `folder` with registers of
// `registerRows` rows; `cache` holds the benchmark's own settings store and lock (never the user's). Prints the
// figures as one "RESULT key=value;..." line: first, last, page (ms), peak (MB), rows, and the bare reads
// bfirst, ball (ms) and brows; for the empty window also show (ms), for the print pages and cpu (ms). With
// `plainPages` > 0 a print case only lays out its pages into plainPagesFile(cache), for the plain paint
// (tools/bench/plainpaint.cpp), which draws them with plain Qt in a process of its own.
QString plainPagesFile(const QString &cache);
int runCase(int &argc, char **argv, const QString &id, const QString &folder, const QString &cache,
            int registerRows, int plainPages = 0);
} // namespace bench
