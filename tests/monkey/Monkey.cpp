#include "Monkey.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QWheelEvent>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <utility>
#include <vector>

namespace {

// Steps in a menu and in a playground dialog before Escape.
constexpr int kMenuSteps = 8;
constexpr int kDialogSteps = 40;
// Escape first, then reject() or close(); a dialog may wait for its work
// to end (Verify Export) before it goes, but not longer than this.
constexpr int kEscapes = 3;
constexpr auto kClosing = std::chrono::seconds(60);
constexpr auto kStalled = std::chrono::seconds(60);

const Qt::Key kKeys[] = {
    Qt::Key_A, Qt::Key_C, Qt::Key_D, Qt::Key_E, Qt::Key_Q, Qt::Key_R, Qt::Key_S, Qt::Key_V, Qt::Key_W,
    Qt::Key_X, Qt::Key_Y, Qt::Key_Z, Qt::Key_0, Qt::Key_1, Qt::Key_2, Qt::Key_5, Qt::Key_9, Qt::Key_Space,
    Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Backspace,
    Qt::Key_Delete, Qt::Key_Insert, Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Left,
    Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Period, Qt::Key_F1,
};
const Qt::KeyboardModifiers kModifiers[] = {
    Qt::NoModifier, Qt::NoModifier, Qt::NoModifier, Qt::NoModifier, Qt::NoModifier, Qt::NoModifier,
    Qt::ShiftModifier, Qt::ShiftModifier, Qt::ControlModifier, Qt::ControlModifier,
    Qt::ControlModifier | Qt::ShiftModifier, Qt::AltModifier,
};

std::string Describe(const QWidget* widget)
{
    return std::string(widget->metaObject()->className()) + " '" + widget->objectName().toStdString() + "'";
}

std::string Where(const QPoint& point)
{
    return std::to_string(point.x()) + "," + std::to_string(point.y());
}

} // namespace

CMonkey::CMonkey(QWidget& window, uint64_t seed, TBudget budget)
    : window(window), seed(seed), budget(budget), random(seed), trace(std::getenv("SONRIX_MONKEY_TRACE") != nullptr),
      watchdog([this] { Watch(); })
{
    connect(&timer, &QTimer::timeout, this, &CMonkey::Tick);
}

CMonkey::~CMonkey()
{
    watching = false;
    watchdog.join();
}

void CMonkey::Run()
{
    start = std::chrono::steady_clock::now();
    timer.start(0);
    while (!finished)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void CMonkey::Tick()
{
    if (queued)
        return;
    queued = true;
    // Queued, so that an action that opens a modal dialog leaves the timer
    // free to go on in the dialog's loop.
    QMetaObject::invokeMethod(
        this,
        [this] {
            queued = false;
            Act();
        },
        Qt::QueuedConnection);
}

void CMonkey::Act()
{
    heartbeat = ++actions;
    if (std::chrono::steady_clock::now() - start >= budget.time || actions >= budget.actions)
        stopping = true;
    QWidget* top = QApplication::activePopupWidget();
    if (!top)
        top = QApplication::activeModalWidget();
    if (top) {
        if (top != visited) {
            visited = top;
            visits = closeTries = 0;
            ++opened[top->metaObject()->className()];
        }
        ++visits;
        const bool menu = top->inherits("QMenu");
        if (!stopping && menu && visits <= kMenuSteps)
            ActInMenu(top);
        else if (!stopping && IsPlayground(top) && visits <= kDialogSteps)
            ActIn(top);
        else
            Close(top);
        return;
    }
    visited = nullptr;
    if (stopping) {
        timer.stop();
        finished = true;
        return;
    }
    if (!window.isVisible()) {
        // File ▸ Exit of an unmodified song.
        Log("main window shown again");
        window.show();
    }
    ActIn(Window());
}

bool CMonkey::IsPlayground(const QWidget* dialog) const
{
    for (const char* name : {"rix::CEnvEditorDlg", "rix::CAboutDlg", "rix::CAudioOutputDlg", "rix::CVerifyExportDlg"})
        if (dialog->inherits(name))
            return true;
    // The toolbar's Customize box.
    return dialog->objectName() == QLatin1String("Customize");
}

QWidget* CMonkey::Window()
{
    // Now and then a window of its own beside the main window: the key
    // list, a floating dock.
    if (Below(8) != 0)
        return &window;
    std::vector<QWidget*> others;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != &window && widget->isVisible() && !widget->inherits("QMenu") && !widget->inherits("QToolTip") &&
            widget->windowType() != Qt::ToolTip)
            others.push_back(widget);
    return others.empty() ? &window : others[std::size_t(Below(int(others.size())))];
}

void CMonkey::Close(QWidget* widget)
{
    const std::string name = Describe(widget);
    const auto now = std::chrono::steady_clock::now();
    if (closeTries++ == 0)
        closingSince = now;
    if (closeTries <= kEscapes) {
        Log("Escape to " + name);
        QWidget* focus = widget->focusWidget();
        QTest::keyClick(focus && widget->isAncestorOf(focus) ? focus : widget, Qt::Key_Escape);
    } else if (now - closingSince < kClosing) {
        Log("closing " + name);
        if (auto* dialog = qobject_cast<QDialog*>(widget))
            dialog->reject();
        else
            widget->close();
        // Time for the work it waits for.
        QTest::qWait(10);
    } else {
        Fail(name + " does not close");
    }
}

void CMonkey::ActIn(QWidget* root)
{
    const int kind = Below(100);
    if (kind < 45)
        Click(root);
    else if (kind < 58)
        Drag(root);
    else if (kind < 68)
        Wheel(root);
    else
        Key(root);
}

void CMonkey::ActInMenu(QWidget* menu)
{
    const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Right, Qt::Key_Left, Qt::Key_Return};
    const Qt::Key key = keys[Below(int(std::size(keys)))];
    Log("menu key " + QKeySequence(key).toString().toStdString() + " in " + Describe(menu));
    QTest::keyClick(menu, key);
}

QWidget* CMonkey::At(QWidget* root, QPoint& point)
{
    point = QPoint(Below(std::max(1, root->width())), Below(std::max(1, root->height())));
    QWidget* widget = root->childAt(point);
    if (!widget)
        return root;
    point = widget->mapFrom(root, point);
    return widget;
}

void CMonkey::Click(QWidget* root)
{
    QPoint point;
    QPointer<QWidget> widget = At(root, point);
    const int which = Below(20);
    const Qt::MouseButton button = which < 15 ? Qt::LeftButton : which < 19 ? Qt::RightButton : Qt::MiddleButton;
    const Qt::KeyboardModifiers modifiers = Below(5) == 0 ? Modifiers() : Qt::NoModifier;
    const bool twice = Below(5) == 0;
    Log(std::string(twice ? "double click " : "click ") + std::to_string(int(button)) + " at " + Where(point) + " on " +
        Describe(widget));
    if (twice)
        QTest::mouseDClick(widget, button, modifiers, point);
    else
        QTest::mouseClick(widget, button, modifiers, point);
}

void CMonkey::Drag(QWidget* root)
{
    QPoint point;
    QPointer<QWidget> widget = At(root, point);
    Log("drag from " + Where(point) + " on " + Describe(widget));
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, point);
    for (int moves = 1 + Below(6); moves > 0 && widget; --moves) {
        // Anywhere near the widget, out of it too.
        point = QPoint(Below(widget->width() + 80) - 40, Below(widget->height() + 80) - 40);
        QTest::mouseMove(widget, point);
    }
    if (widget)
        QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, point);
}

void CMonkey::Wheel(QWidget* root)
{
    QPoint point;
    QWidget* widget = At(root, point);
    const int notches = (Below(3) + 1) * (Below(2) == 0 ? 120 : -120);
    const QPoint angle = Below(6) == 0 ? QPoint(notches, 0) : QPoint(0, notches);
    const Qt::KeyboardModifiers modifiers = Below(4) == 0 ? Modifiers() : Qt::NoModifier;
    Log("wheel " + Where(angle) + " at " + Where(point) + " on " + Describe(widget));
    QWheelEvent event(point, widget->mapToGlobal(point), QPoint(), angle, Qt::NoButton, modifiers, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(widget, &event);
}

void CMonkey::Key(QWidget* root)
{
    QWidget* focus = QApplication::focusWidget();
    QWidget* target = focus && (focus == root || root->isAncestorOf(focus)) ? focus : root;
    const Qt::Key key = kKeys[Below(int(std::size(kKeys)))];
    const Qt::KeyboardModifiers modifiers = Modifiers();
    Log("key " + QKeySequence(key | modifiers).toString().toStdString() + " to " + Describe(target));
    QTest::keyClick(target, key, modifiers);
}

Qt::KeyboardModifiers CMonkey::Modifiers()
{
    return kModifiers[Below(int(std::size(kModifiers)))];
}

void CMonkey::Log(const std::string& what)
{
    std::string line = std::to_string(actions);
    line.append(": ").append(what);
    if (trace)
        std::fprintf(stderr, "monkey %s\n", line.c_str());
    const std::lock_guard guard(logMutex);
    recent[actions % recent.size()] = std::move(line);
}

void CMonkey::Watch()
{
    uint64_t seen = 0;
    auto since = std::chrono::steady_clock::now();
    while (watching) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        if (heartbeat != seen) {
            seen = heartbeat;
            since = std::chrono::steady_clock::now();
        } else if (std::chrono::steady_clock::now() - since > kStalled) {
            Fail("the editor took no action for a minute");
        }
    }
}

void CMonkey::Fail(const std::string& why)
{
    const std::lock_guard guard(logMutex);
    std::fprintf(stderr, "monkey: %s (seed %llu, action %llu); the last actions:\n", why.c_str(),
                 static_cast<unsigned long long>(seed), static_cast<unsigned long long>(heartbeat.load()));
    for (std::size_t i = 1; i <= recent.size(); ++i)
        if (const std::string& line = recent[(heartbeat + i) % recent.size()]; !line.empty())
            std::fprintf(stderr, "  %s\n", line.c_str());
    std::abort();
}
