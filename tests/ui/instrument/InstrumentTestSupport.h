#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QTimer>
#include <functional>

#include "IRixModulePlayer.h"
#include "InstrumentEditor.h"
#include "InstrumentPrompts.h"
#include "ModuleArchive.h"
#include "PlaybackController.h"
#include "RixModule.h"
#include "SongEditor.h"
#include "Theme.h"
#include "nexilon/Nexilon.h"

namespace instrumenttest {

struct Environment : ::testing::Environment {
    void SetUp() override
    {
        nexilon::q.Init();
        rix::RegisterModuleClass();
        rix::RegisterPlayerClass();
        rix::RegisterArchiveStreamClasses();
        rix::CTheme::Create();
    }
};
inline ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new Environment());

// The user's answers, given in advance; questions and errors are recorded.
// A popup menu chooses the action (in any submenu) whose text is menuChoice.
class CFakePrompts : public rix::CInstrumentPrompts {
public:
    CFakePrompts() { Set(this); }
    ~CFakePrompts() override { Set(nullptr); }
    bool Ask(QWidget*, const QString& question) override { return questions << question, answer; }
    void ShowError(QWidget*, const QString& text) override { errors << text; }
    QString OpenInstrumentPath(QWidget*) override { return path; }
    QString SaveInstrumentPath(QWidget*) override { return path; }
    QAction* Popup(QMenu& menu, const QPoint&) override
    {
        for (QAction* action : menu.findChildren<QAction*>())
            if (action->text() == menuChoice)
                return action;
        return nullptr;
    }
    // What the envelope editor would commit: the envelope changed by
    // editEnvelope. With whileEditing, a modal dialog of parent instead,
    // which runs it and closes.
    void EditEnvelope(QWidget* parent, rix::CSongEditor& editor, const rix::TEnvelopeAddress& address) override
    {
        if (whileEditing) {
            QDialog dialog(parent);
            QTimer::singleShot(0, &dialog, [&] {
                whileEditing();
                dialog.reject();
            });
            dialog.exec();
            return;
        }
        std::optional<rix::TRixEnvelope> envelope = editor.Instruments().ReadEnvelope(address);
        if (envelope && editEnvelope) {
            editEnvelope(*envelope);
            editor.Instruments().SetEnvelope(address, *envelope);
        }
    }

    bool answer = false;
    QString path, menuChoice;
    std::function<void(rix::TRixEnvelope&)> editEnvelope;
    std::function<void()> whileEditing;
    QStringList questions, errors;
};

class CInstrumentTest : public ::testing::Test {
protected:
    rix::CRixModuleChannel Channel(int32_t channel)
    {
        rix::CRixModuleLock lock(controller.GetSongModule(), nexilon::LOCKMODE_READ);
        return lock->channels[channel];
    }
    // As a load would, outside the edit layer's history.
    void SetChannel(int32_t channel, const rix::CRixModuleChannel& instrument)
    {
        {
            rix::CRixModuleLock lock(controller.GetSongModule(), nexilon::LOCKMODE_WRITE);
            lock->channels[channel] = instrument;
        }
        controller.AnnounceSongChange({rix::SONG_INSTRUMENT | rix::SONG_CHANNEL_VOLUME, 1u << channel});
    }

    rix::CPlaybackController controller;
    rix::CSongEditor editor{controller};
    CFakePrompts prompts;
};

} // namespace instrumenttest
