#pragma once

// What the screenshot tools need around their windows, for the life of one
// object: the framework with the program's classes registered, the dummy
// audio driver and the theme. Made after the QApplication.
#include <QtGlobal>

#include "ModuleArchive.h"
#include "PlaybackController.h"
#include "RixModule.h"
#include "Theme.h"
#include "nexilon/Nexilon.h"

class CToolSession {
public:
    CToolSession()
    {
        qputenv("SONRIX_AUDIO_DRIVER", "dummy");
        nexilon::q.Init();
        rix::RegisterModuleClass();
        rix::RegisterPlayerClass();
        rix::RegisterArchiveStreamClasses();
        rix::CTheme::Create();
    }
    ~CToolSession()
    {
        rix::CTheme::Destroy();
        nexilon::q.Close();
    }
    CToolSession(const CToolSession&) = delete;
    CToolSession& operator=(const CToolSession&) = delete;
};
