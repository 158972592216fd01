#pragma once
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

// One item of a menu: a name, a text (a tab separates the shown shortcut), a shortcut, its own items in
// creation order, and a clicked script.
class MenuItem : public QObject {
    Q_OBJECT
public:
    MenuItem(const QString &name, const QString &text, QObject *parent);

    QString name() const { return objectName(); }
    QString text() const { return m_text; }
    QKeySequence shortcut() const { return m_shortcut; }
    void setShortcut(const QKeySequence &keys) { m_shortcut = keys; }
    QList<MenuItem *> items() const { return m_items; }
    MenuItem *item(const QString &name) const;
    MenuItem *addItem(const QString &name, const QString &text, std::function<void()> script = {});
    void setScript(std::function<void()> script) { m_script = std::move(script); }
    bool hasScript() const { return bool(m_script); }

    // Runs the clicked script now.
    void click();
    // Runs it after the current event has ended; dropped if the item is gone by then.
    void postClick();

signals:
    void clicked();

private:
    QString m_text;
    QKeySequence m_shortcut;
    QList<MenuItem *> m_items;
    std::function<void()> m_script;
};

// The main menu: the commands the main window's function list starts. No window shows it; the main
// window keeps one instance and the function list posts the clicked event of its items.
class m_mainmenu : public QObject {
    Q_OBJECT
public:
    explicit m_mainmenu(QObject *parent = nullptr);

    QList<MenuItem *> items() const { return m_items; }
    // The item at a path of names joined by dots ("m_f.m_6.m_15"); null when there is none.
    MenuItem *item(const QString &path) const;

    // The desktop calculators looked for on PATH, in order of preference.
    static QStringList calculatorCandidates();
    // The first one installed; empty when none is.
    static QString findCalculator();
    // Writes the help document out of the program's resources into a file of its own (once per
    // change of its content) and returns that file's path; empty when it cannot be written.
    static QString writeHelpFile();

    // Test hooks: the printer set-up dialog and the question whether a started program still runs.
    static void setPrinterSetupHook(std::function<bool(QWidget *)> hook);
    static void setProcessProbe(std::function<bool(qint64)> probe);

private:
    MenuItem *addTop(const QString &name, const QString &text);
    void openByName(const QString &window);
    void openForAdministrator(const QString &window);
    void startCalculator();
    void printerSetup();
    void showHelp();

    QList<MenuItem *> m_items;
    qint64 m_calculatorPid = 0;
};
