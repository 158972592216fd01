#pragma once
#include "platform/messagebox.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <functional>

// A fresh world for one test: a temp working folder with a new database built the way the run command
// builds it, the registry store and the instance lock inside it, message boxes answered and recorded,
// halts recorded instead of ending the process, and a fixed clock.
class Fixture {
public:
    explicit Fixture(bool withDatabase = true);
    ~Fixture();

    QString dir() const { return m_dir.path(); }
    QString databasePath() const;
    // Registers the data source and connects sqlca (AutoCommit off), as the start-up does.
    bool connect();
    // Runs SQL directly on the test database (setup of rows); fails the test on error.
    void exec(const QString &sql, const QVariantList &args = {});
    QVariant scalar(const QString &sql, const QVariantList &args = {});

    // Message boxes: recorded; answered from the queue, else with the default button.
    QList<msg::Call> boxes;
    QList<int> answers;
    // Halts: true for halt-close.
    QList<bool> halts;

    static QDateTime fixedNow() { return QDateTime(QDate(2026, 3, 5), QTime(9, 30, 0)); }

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;
};

namespace ui {
class Window;
}
// Opens a window by its name and makes it the active one, as the operator's click would; null when none opens.
ui::Window *openActive(const QString &name, ui::Window *opener = nullptr);

// Deletes every window still open, so the next test starts with none (a window exists once per class).
void closeOpenWindows();

// Types text into the focused widget, Chinese included (committed through the input method).
void typeText(QWidget *widget, const QString &text);
