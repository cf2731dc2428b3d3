#include "CommandStates.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QWidget>

#include "IClipboardTarget.h"
#include "PlaybackController.h"
#include "SongEditor.h"

namespace rix {

namespace {

constexpr int kBusyCheckMs = 200;

} // namespace

CCommandStates::CCommandStates(CSongEditor& editor, QAction* cut, QAction* copy, QAction* paste,
                               TTransport transport, QObject* parent)
    : QObject(parent), editor(editor), cut(cut), copy(copy), paste(paste),
      play(transport.play.begin(), transport.play.end()), stop(transport.stop), focused(QApplication::focusWidget())
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    // After the command itself: a copy gives Paste something.
    for (QAction* action : {cut, copy, paste})
        connect(action, &QAction::triggered, this, &CCommandStates::Update);
    // After the button's own handler: a playback starting or stopped.
    for (QWidget* button : transport.play)
        connect(qobject_cast<QAbstractButton*>(button), &QAbstractButton::clicked, this, &CCommandStates::Update);
    connect(qobject_cast<QAbstractButton*>(transport.stop), &QAbstractButton::clicked, this,
            &CCommandStates::Update);
    // The playback thread's end comes a moment after its last post: while
    // it runs, Stop is looked at again now and then.
    busyCheck.setSingleShot(true);
    busyCheck.setInterval(kBusyCheckMs);
    connect(&busyCheck, &QTimer::timeout, this, &CCommandStates::Update);
    editor.Controller().AddListener(this, POSTS_POSITION);
    Update();
}

CCommandStates::~CCommandStates()
{
    editor.Controller().RemoveListener(this);
}

void CCommandStates::OnFocusChanged(QWidget* now)
{
    if (now && now->window()->windowType() == Qt::Popup)
        return;
    focused = now;
    Update();
}

void CCommandStates::PostMessage(uint32_t message, uintptr_t wParam, intptr_t)
{
    // Only when playback started or ended, not at every row.
    const bool playing = wParam < NO_PLAYING_POSITION;
    if (message == MSG_PLAYING_POSITION && playing != heardPlaying.exchange(playing))
        QMetaObject::invokeMethod(this, &CCommandStates::Update, Qt::QueuedConnection);
}

void CCommandStates::Update()
{
    const auto* target = dynamic_cast<const IClipboardTarget*>(focused.data());
    cut->setEnabled(target != nullptr);
    copy->setEnabled(target != nullptr);
    paste->setEnabled(target && target->CanPaste());
    const bool hasSong = editor.Read([](const CRixModuleData& song) { return song.GetSongLength() > 0; });
    for (QWidget* button : play)
        if (button)
            button->setEnabled(hasSong);
    const bool busy = editor.Controller().IsBusy();
    if (stop)
        stop->setEnabled(busy);
    if (busy && !busyCheck.isActive())
        busyCheck.start();
}

} // namespace rix
