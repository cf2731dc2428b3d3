#include "LockKeyIndicators.h"

#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>

#include <X11/XKBlib.h>

namespace rix {

namespace {

constexpr std::size_t kScrollPane = 2;

} // namespace

CLockKeyIndicators::CLockKeyIndicators(QStatusBar* statusBar) : QObject(statusBar)
{
    const char* names[] = {"CAP", "NUM", "SCRL"};
    for (std::size_t i = 0; i < panes.size(); ++i) {
        auto* pane = new QLabel(QString::fromLatin1(names[i]), statusBar);
        pane->setObjectName(QString::fromLatin1(names[i]));
        pane->setAccessibleName(QString::fromLatin1(names[i]));
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar->addPermanentWidget(pane);
        panes[i] = pane;
    }
    panes[kScrollPane]->setEnabled(false);
    panes[kScrollPane]->setToolTip(tr("Lit while View ▸ Follow Playback is off (Scroll Lock)"));
    connect(&timer, &QTimer::timeout, this, &CLockKeyIndicators::Update);
    timer.start(250);
    Update();
}

int CLockKeyIndicators::ReadLockState()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return -1;
    unsigned int state = 0;
    if (XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &state) != Success)
        return -1;
    // The core keyboard's indicators: Caps Lock, Num Lock, Scroll Lock.
    return static_cast<int>(state & 7u);
}

void CLockKeyIndicators::ShowScrollLock(bool locked)
{
    panes[kScrollPane]->setEnabled(locked);
}

bool CLockKeyIndicators::ScrollLockShown() const
{
    return panes[kScrollPane]->isEnabled();
}

void CLockKeyIndicators::Update()
{
    const int state = ReadLockState();
    if (state == shown)
        return;
    shown = state;
    for (std::size_t i = 0; i < kScrollPane; ++i)
        panes[i]->setEnabled(state > 0 && (state & (1 << i)) != 0);
}

} // namespace rix
