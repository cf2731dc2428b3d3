#include "EnvEditorDlg.h"

namespace rix {

CEnvEditorDlg::CEnvEditorDlg(QWidget* parent, CPlaybackController& controller, TRixEnvelope* envelope,
                             int32_t channel)
    : QDialog(parent), controller(controller), envelope(envelope), channel(channel)
{
    setWindowTitle(QStringLiteral("Envelope"));
}

} // namespace rix
