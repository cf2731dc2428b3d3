#include "IntroCommands.h"

#include <QAbstractButton>
#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QPainter>
#include <QStatusBar>

#include "ExportForm.h"
#include "IntroRenderIndicator.h"
#include "PlaybackController.h"
#include "RixDoc.h"
#include "SongSizeWnd.h"
#include "ToolbarIcons.h"
#include "VerifyExportDlg.h"

namespace rix {

namespace {

// Names the title bar buttons Qt makes for a dock widget.
void NameDockButtons(QDockWidget& dock)
{
    const struct {
        const char* objectName;
        const char* name;
        const char* tip;
    } buttons[] = {{"qt_dockwidget_closebutton", "Close panel", "Close the panel (View > Song Size opens it again)"},
                   {"qt_dockwidget_floatbutton", "Float panel", "Make the panel a window of its own, or dock it again"}};
    for (const auto& button : buttons)
        if (auto* widget = dock.findChild<QAbstractButton*>(QLatin1String(button.objectName))) {
            widget->setAccessibleName(QObject::tr(button.name));
            widget->setToolTip(QObject::tr(button.tip));
        }
}

} // namespace

CIntroCommands::CIntroCommands(QMainWindow& frame, CPlaybackController& controller, CExportForm& form,
                               const CRixDoc& document, const TActions& actions)
    : QObject(&frame), frame(frame), controller(controller), form(form), document(document),
      dock(new QDockWidget(tr("Song Size"), &frame)), songSize(new CSongSizeWnd(controller, form.Exact(), dock))
{
    actions.exact->setCheckable(true);
    actions.exact->setChecked(form.Exact());
    actions.exact->setToolTip(tr("Export the exact tables, which the intro plays exactly as the editor does, in "
                                 "place of the plain ones; the size figures, Verify and the A/B switch follow"));
    connect(actions.exact, &QAction::toggled, &form, &CExportForm::SetExact);
    controller.IntroRender().SetExact(form.Exact());
    connect(&form, &CExportForm::Changed, this, [this, exactAction = actions.exact](bool exact) {
        exactAction->setChecked(exact);
        this->controller.IntroRender().SetExact(exact);
        songSize->SetExact(exact);
    });

    actions.verify->setToolTip(tr("Play the exported tables with the intro's replay routine and compare them "
                                  "with the editor's render"));
    connect(actions.verify, &QAction::triggered, this, &CIntroCommands::OnVerify);

    actions.hearIntro->setCheckable(true);
    actions.hearIntro->setIcon(HearIntroIcon());
    actions.hearIntro->setToolTip(tr("A/B: while the song plays, hear the intro's render of it in place of the "
                                     "editor's, at the same position"));
    connect(actions.hearIntro, &QAction::toggled, this,
            [this](bool on) { this->controller.IntroRender().SetEnabled(on); });
    new CIntroRenderIndicator(controller, frame.statusBar());

    dock->setObjectName(QStringLiteral("Song Size dock"));
    dock->setAccessibleName(QStringLiteral("Song Size"));
    dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    dock->setWidget(songSize);
    NameDockButtons(*dock);
    frame.addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->hide();
    actions.songSize->setCheckable(true);
    actions.songSize->setToolTip(tr("Where the exported song's bytes go, against a budget, with hints that save bytes"));
    connect(actions.songSize, &QAction::toggled, dock, &QWidget::setVisible);
    connect(dock, &QDockWidget::visibilityChanged, actions.songSize, [this, action = actions.songSize] {
        action->setChecked(dock->isVisible());
    });
}

void CIntroCommands::OnVerify()
{
    CVerifyExportDlg dialog(&frame, controller, document.GetTitle(), form.Exact());
    dialog.exec();
}

QIcon CIntroCommands::HearIntroIcon()
{
    return CToolbarIcons::Drawn([](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        // A chip, the intro's routine, with a wave on it.
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
        for (int pin = 0; pin < 3; ++pin) {
            p.drawLine(QPointF(4.5 + 3.5 * pin, 0.5), QPointF(4.5 + 3.5 * pin, 2.5));
            p.drawLine(QPointF(4.5 + 3.5 * pin, 13.5), QPointF(4.5 + 3.5 * pin, 15.5));
        }
        p.setBrush(QColor(0x2E, 0x4F, 0x8F));
        p.drawRoundedRect(QRectF(1.5, 2.5, 13, 11), 2, 2);
        p.setPen(QPen(QColor(0x7F, 0xE0, 0xFF), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({{3.5, 10}, {6, 5.5}, {8, 10}, {10.5, 5.5}, {12.5, 10}}));
    });
}

} // namespace rix
