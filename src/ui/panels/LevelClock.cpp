#include "LevelClock.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <algorithm>

namespace rix {

namespace {
// A meter read more often than this shows nothing more to the eye.
constexpr int kShortestPeriodMs = 33;
} // namespace

CLevelClock& CLevelClock::Get()
{
    // Owned by the application, so that it goes with it.
    static QPointer<CLevelClock> clock;
    if (!clock)
        clock = new CLevelClock(QCoreApplication::instance());
    return *clock;
}

CLevelClock::CLevelClock(QObject* parent) : QObject(parent)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal rate = screen ? screen->refreshRate() : 0.0;
    timer.setInterval(std::max(kShortestPeriodMs, rate > 0.0 ? static_cast<int>(1000.0 / rate) : 0));
    connect(&timer, &QTimer::timeout, this, &CLevelClock::Tick);
}

void CLevelClock::Follow(QObject* panel, std::function<void()> read)
{
    Leave(panel);
    readers.emplace_back(panel, std::move(read));
    if (!timer.isActive())
        timer.start();
}

void CLevelClock::Leave(QObject* panel)
{
    readers.erase(std::remove_if(readers.begin(), readers.end(), [panel](const auto& reader) { return reader.first == panel; }),
                  readers.end());
    if (readers.empty())
        timer.stop();
}

void CLevelClock::Tick()
{
    // A reader may leave while it reads.
    const auto now = readers;
    for (const auto& reader : now)
        reader.second();
}

} // namespace rix
