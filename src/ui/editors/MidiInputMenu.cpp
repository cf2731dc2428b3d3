#include "MidiInputMenu.h"

#include <QActionGroup>
#include <QSettings>

namespace rix {

namespace {

constexpr int kWatchMs = 2000;

} // namespace

CMidiInputMenu::CMidiInputMenu(QObject* target, QWidget* parent)
    : QMenu(QStringLiteral("MIDI input"), parent)
{
    setObjectName(QStringLiteral("MIDI input"));
    setAccessibleName(QStringLiteral("MIDI input"));
    setToolTip(QStringLiteral("Notes from a MIDI keyboard, entered at the pattern editor's cursor"));
    input.SetTarget(target);
    if (target)
        connect(target, &QObject::destroyed, this, [this] { input.SetTarget(nullptr); });
    connect(this, &QMenu::aboutToShow, this, &CMidiInputMenu::Rebuild);
    watch.setInterval(kWatchMs);
    connect(&watch, &QTimer::timeout, this, [this] {
        input.CloseIfGone();
        if (input.OpenPortName().isEmpty())
            watch.stop();
    });
    const QString stored = QSettings().value(SETTINGS_KEY).toString();
    if (!stored.isEmpty() && input.Open(stored))
        watch.start();
    Rebuild();
}

void CMidiInputMenu::Rebuild()
{
    input.CloseIfGone();
    clear();
    qDeleteAll(findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly));
    auto* group = new QActionGroup(this);
    const auto add = [&](const QString& text, const QString& port) {
        QAction* action = addAction(text);
        action->setObjectName(text);
        action->setCheckable(true);
        action->setChecked(port == input.OpenPortName());
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, port] { Choose(port); });
    };
    add(QStringLiteral("None"), QString());
    for (const QString& port : input.PortNames())
        add(port, port);
}

void CMidiInputMenu::Choose(const QString& port)
{
    if (port.isEmpty())
        input.Close();
    else
        input.Open(port);
    QSettings().setValue(SETTINGS_KEY, input.OpenPortName());
    if (!input.OpenPortName().isEmpty())
        watch.start();
}

} // namespace rix
