#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>

// A seeded random user of the editor: keys, clicks, double clicks, drags
// and wheel turns at random places of the main window, of the windows
// beside it (the key list, a floating dock) now and then, and of the menus
// and dialogs it opens. A menu is tried for a few steps, then left with
// Escape; so are the dialogs of the playground list (the envelope editor,
// Verify Export, Customize, the audio output and About boxes); every other
// dialog (file dialogs, message boxes, exports) is closed with Escape at
// once, so the run never waits on one and never chooses a file. Each
// action is queued to the event loop, so one that opens a modal dialog
// runs the dialog's loop while the monkey goes on in it. A dialog that
// Escape, reject() and close() leave open for a minute, or an editor that
// takes no action for a minute, ends the run with the seed and the last
// actions on standard error. UI thread, except the watchdog.
class CMonkey : public QObject {
public:
    struct TBudget {
        std::chrono::steady_clock::duration time;
        uint64_t actions;
    };

    CMonkey(QWidget& window, uint64_t seed, TBudget budget);
    ~CMonkey() override;

    // Acts until the budget is spent and every menu and dialog is closed.
    void Run();
    uint64_t Actions() const { return actions; }
    // How often each kind of menu or dialog came up, by class name.
    const std::map<std::string, int>& Opened() const { return opened; }

private:
    void Tick();
    void Act();
    void ActIn(QWidget* root);
    void ActInMenu(QWidget* menu);
    // One more try at closing a menu or dialog.
    void Close(QWidget* widget);
    bool IsPlayground(const QWidget* dialog) const;
    // The window to act in when no menu or dialog is up.
    QWidget* Window();
    void Click(QWidget* root);
    void Drag(QWidget* root);
    void Wheel(QWidget* root);
    void Key(QWidget* root);
    // A random point of root and the widget there, in its coordinates.
    QWidget* At(QWidget* root, QPoint& point);
    Qt::KeyboardModifiers Modifiers();
    int Below(int limit) { return std::uniform_int_distribution<int>(0, limit - 1)(random); }
    void Log(const std::string& what);
    void Watch();
    [[noreturn]] void Fail(const std::string& why);

    QWidget& window;
    const uint64_t seed;
    const TBudget budget;
    std::mt19937_64 random;
    // SONRIX_MONKEY_TRACE set: every action on standard error as it starts.
    const bool trace;
    QTimer timer;
    std::chrono::steady_clock::time_point start;
    bool queued = false;
    bool stopping = false;
    bool finished = false;
    uint64_t actions = 0;
    // The menu or dialog being acted in (or closed) and for how many steps.
    QPointer<QWidget> visited;
    int visits = 0;
    int closeTries = 0;
    std::chrono::steady_clock::time_point closingSince;
    std::map<std::string, int> opened;

    // What the watchdog reads.
    std::atomic<uint64_t> heartbeat{0};
    std::atomic<bool> watching{true};
    std::mutex logMutex;
    std::array<std::string, 12> recent;
    std::thread watchdog;
};
