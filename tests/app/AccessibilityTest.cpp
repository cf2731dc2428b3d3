#include <cstdlib>
#include <vector>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

#include "AboutDlg.h"
#include "AppLook.h"
#include "AudioOutputDlg.h"
#include "CommandIds.h"
#include "EnvEditorDlg.h"
#include "RixDoc.h"
#include "ShellFixture.h"
#include "Theme.h"
#include "VerifyExportDlg.h"

namespace {

// A widget that takes clicks: a button, a slider, an edit, a tab bar, a
// widget that takes the focus on a click, or any of the editor's own windows.
bool TakesClicks(const QWidget* widget)
{
    if (qobject_cast<const QAbstractScrollArea*>(widget->parentWidget()) ||
        widget->parentWidget()->objectName().startsWith(QStringLiteral("qt_scrollarea_")))
        return false;   // the scroll bars and viewport Qt makes for a scroll area
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QAbstractSlider*>(widget) ||
           qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTabBar*>(widget) ||
           (widget->focusPolicy() & Qt::ClickFocus) || QString::fromLatin1(widget->metaObject()->className()).startsWith("rix::");
}

QStringList Unnamed(const QWidget& window)
{
    QStringList unnamed;
    for (QWidget* widget : window.findChildren<QWidget*>())
        if (TakesClicks(widget) && widget->accessibleName().isEmpty())
            unnamed << QStringLiteral("%1 '%2' in %3 of %4")
                           .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName(),
                                widget->parentWidget()->objectName(), window.objectName());
    return unnamed;
}

// Every clickable widget of the window, on every channel of the demo song
// (oscillators with and without FM, effects of every kind), says what it is.
TEST_F(CShellFixture, EveryClickableWidgetHasAnAccessibleName)
{
    QString reason;
    ASSERT_TRUE(frame->Document().OnOpenDocument(QStringLiteral(SONRIX_SOURCE_DIR "/examples/demo.sonrix"), reason))
        << reason.toStdString();
    frame->show();
    QStringList unnamed;
    for (int32_t channel = 0; channel < 8; ++channel) {
        Controller().SelectChannel(channel);
        QApplication::processEvents();
        unnamed << Unnamed(*frame);
    }
    rix::CEnvEditorDlg envelopeEditor(frame.get(), Editor(), {0, rix::TEnvelopeAddress::CHANNEL, 0, 0});
    rix::CAudioOutputDlg audioOutput(frame.get(), {"System default", "Speakers"}, "Speakers");
    rix::CAboutDlg about(frame.get());
    rix::CVerifyExportDlg verify(frame.get(), Controller(), QStringLiteral("demo"), true);
    for (const QWidget* dialog : {static_cast<QWidget*>(&envelopeEditor), static_cast<QWidget*>(&audioOutput),
                                  static_cast<QWidget*>(&about), static_cast<QWidget*>(&verify)})
        unnamed << Unnamed(*dialog);
    unnamed.removeDuplicates();
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(QLatin1Char('\n')).toStdString();
}

int Luma(const QColor& colour)
{
    return (299 * colour.red() + 587 * colour.green() + 114 * colour.blue()) / 1000;
}

// Text stays readable in every look: menus, selections, edits and buttons,
// and in the dark look the editor windows' text on every background it is
// drawn on, whose faces stay dark.
TEST(AppLook, EveryLookKeepsTextReadable)
{
    const struct {
        QPalette::ColorRole text, background;
    } pairs[] = {{QPalette::WindowText, QPalette::Window},
                 {QPalette::ButtonText, QPalette::Button},
                 {QPalette::Text, QPalette::Base},
                 {QPalette::HighlightedText, QPalette::Highlight}};
    const struct {
        int text;
        std::vector<int> backgrounds;
    } themePairs[] = {
        {0, {3, 5, 8, 9, 10, 11, 12, 14, 26, 31, 32, 33, 34, 35, 36, 37, 38, 39}},  // labels, notes, entries
        {4, {3, 9, 10, 11, 12, 14}},                                               // note stops
        {24, {9}},                                                                 // mixer and master values
        {30, {8, 26, 31, 32, 33, 34, 35, 36, 37, 38, 39}},                          // tempo and item values
    };
    int count = 0;
    const rix::CAppLook::TLook* looks = rix::CAppLook::Looks(count);
    for (int i = 0; i < count; ++i) {
        const QPalette palette = rix::CAppLook::PaletteOf(looks[i]);
        for (const auto& pair : pairs)
            EXPECT_GE(std::abs(Luma(palette.color(pair.text)) - Luma(palette.color(pair.background))), 90)
                << looks[i].menuText << " roles " << pair.text << " on " << pair.background;
        if (!rix::CAppLook::IsDark(looks[i]))
            continue;
        rix::CAppLook::Apply(looks[i].id);
        const rix::CTheme& theme = rix::CTheme::Get();
        for (const auto& [text, backgrounds] : themePairs)
            for (int background : backgrounds) {
                EXPECT_GE(Luma(theme.Brush(text)) - Luma(theme.Brush(background)), 90) << text << " on " << background;
                EXPECT_LT(Luma(theme.Brush(background)), 100) << background;
            }
    }
    rix::CAppLook::Apply(rix::kDefaultApplicationLook);
}

} // namespace
