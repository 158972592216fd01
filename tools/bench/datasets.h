#pragma once
#include <QDate>
#include <QString>

// The benchmark's own databases: a payment and a receipt register of `rows` rows each, dated over ten years,
// and payee, payer and remark books of `bookRows` rows, with realistic Chinese names, bank accounts and amounts,
// and equal keys (dates, names, banks, amounts) as real registers have them.
namespace bench {

struct DataSet {
    QString label; // "10k", "100k", "1m"
    int rows = 0;
    int bookRows = 0;
};

// Parses "10k", "100k", "1m"; false for anything else.
bool dataSetFor(const QString &label, DataSet &set);

// The folder of a data set under the cache: it holds DATABASE/nardelo.db, as the program's working folder does.
QString dataSetFolder(const QString &cache, const DataSet &set);
// Builds the data set unless the cache holds it from this generator. Empty on success, else the error.
QString ensureDataSet(const QString &cache, const DataSet &set);

// The ten years the registers span, and the last of them (the one-year lists).
inline QDate firstDay() { return QDate(2016, 1, 1); }
inline QDate lastDay() { return QDate(2025, 12, 31); }
inline QDate lastYearStart() { return QDate(2025, 1, 1); }
// Cheque numbers are unique per register: row i (0-based) of the payments carries this one.
QString paymentChequeNumber(int row);
// About this share of payments is at most this amount; the rest above it.
constexpr double kSmallAmount = 100.0;
} // namespace bench
