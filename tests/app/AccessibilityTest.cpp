#include <cstdlib>
#include <vector>

#include <QAbstractButton>
#include <QAction>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "AboutDlg.h"
#include "AppLook.h"
#include "AudioOutputDlg.h"
#include "CommandIds.h"
#include "EnvEditorDlg.h"
#include "GridKeys.h"
#include "KeyList.h"
#include "KeyListDlg.h"
#include "NoteKeys.h"
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

// A button that shows its own text says what it does without a tooltip.
bool ShowsItsText(const QWidget* widget)
{
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    return button && !button->text().isEmpty() &&
           (qobject_cast<const QPushButton*>(widget) || qobject_cast<const QCheckBox*>(widget));
}

// The clickable widgets of the window without an accessible name and those
// without a tooltip.
std::pair<QStringList, QStringList> Unexplained(const QWidget& window)
{
    QStringList unnamed, untipped;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!TakesClicks(widget))
            continue;
        const QString name = QStringLiteral("%1 '%2' in %3 of %4")
                                 .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName(),
                                      widget->parentWidget()->objectName(), window.objectName());
        if (widget->accessibleName().isEmpty())
            unnamed << name;
        if (widget->toolTip().isEmpty() && !ShowsItsText(widget))
            untipped << name;
    }
    return {unnamed, untipped};
}

// Every clickable widget of every window, on every channel of the demo song
// (oscillators with and without FM, effects of every kind), and of every
// dialog says what it is (an accessible name) and what it does (a tooltip).
TEST_F(CShellFixture, EveryClickableWidgetHasANameAndATooltip)
{
    QString reason;
    ASSERT_TRUE(frame->Document().OnOpenDocument(QStringLiteral(SONRIX_SOURCE_DIR "/examples/demo.sonrix"), reason))
        << reason.toStdString();
    frame->show();
    QStringList unnamed, untipped;
    const auto walk = [&](const QWidget& window) {
        const auto [names, tips] = Unexplained(window);
        unnamed << names;
        untipped << tips;
    };
    for (int32_t channel = 0; channel < 8; ++channel) {
        Controller().SelectChannel(channel);
        QApplication::processEvents();
        walk(*frame);
    }
    frame->OnKeyList();
    rix::CEnvEditorDlg envelopeEditor(frame.get(), Editor(), {0, rix::TEnvelopeAddress::CHANNEL, 0, 0});
    rix::CAudioOutputDlg audioOutput(frame.get(), {"System default", "Speakers"}, "Speakers");
    rix::CAboutDlg about(frame.get());
    rix::CVerifyExportDlg verify(frame.get(), Controller(), QStringLiteral("demo"), true);
    for (const QWidget* dialog : {static_cast<QWidget*>(&envelopeEditor), static_cast<QWidget*>(&audioOutput),
                                  static_cast<QWidget*>(&about), static_cast<QWidget*>(frame->KeyList()),
                                  static_cast<QWidget*>(&verify)})
        walk(*dialog);
    for (QStringList* list : {&unnamed, &untipped})
        list->removeDuplicates();
    EXPECT_TRUE(unnamed.isEmpty()) << "without a name:\n" << unnamed.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(untipped.isEmpty()) << "without a tooltip:\n" << untipped.join(QLatin1Char('\n')).toStdString();
}

// Help > Keys and Mouse holds every binding of the tables the windows run
// their keys from and every command's shortcut, and its filter keeps the
// lines that hold the text.
TEST_F(CShellFixture, TheKeyListHoldsEveryKeyAndGesture)
{
    frame->OnKeyList();
    rix::CKeyListDlg& list = *frame->KeyList();
    const QStringList lines = list.ShownLines();
    QStringList missing;
    const auto expect = [&](const QString& window, const QString& keys, const QString& action) {
        const QString line = QStringLiteral("%1 | %2 | %3").arg(window, keys, action);
        if (!lines.contains(line))
            missing << line;
    };
    using rix::CKeyList;
    const QString pattern = QStringLiteral("Pattern editor"), orderTable = QStringLiteral("Order table");
    for (const auto& [window, table] : {std::pair{pattern, rix::PatternKeys()}, {pattern, rix::SharedGridKeys()},
                                        {orderTable, rix::OrderTableKeys()}, {orderTable, rix::SharedGridKeys()}})
        for (const rix::TGridKey& binding : table)
            expect(window, CKeyList::KeysOf(binding), QString::fromLatin1(binding.description));
    for (const rix::CNoteKeys::TNoteKey& key : rix::CNoteKeys::Keys())
        if (!lines.filter(pattern + QStringLiteral(" | ")).filter(CKeyList::KeyName(key.qtKey)).size())
            missing << QStringLiteral("note key %1").arg(CKeyList::KeyName(key.qtKey));
    for (const QAction* action : frame->findChildren<QAction*>())
        if (!action->shortcuts().isEmpty())
            expect(QStringLiteral("Main window"), CKeyList::CommandKeys(*action), CKeyList::CommandName(*action));
    EXPECT_TRUE(missing.isEmpty()) << missing.join(QLatin1Char('\n')).toStdString();
    // Keys named as on the keyboard.
    for (const char* line : {"Pattern editor | Shift+Ins | Insert a row in all channels",
                             "Main window | Scroll Lock | Follow Playback", "Main window | Ctrl+Z | Undo"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;

    QTest::keyClicks(&list.Filter(), QStringLiteral("shift+enter"));
    const QStringList shown = list.ShownLines();
    EXPECT_EQ(shown.size(), 2) << shown.join(QLatin1Char('\n')).toStdString();  // in both grids
    EXPECT_EQ(shown.filter(QStringLiteral("Shift+Enter")).size(), shown.size());
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
    const struct { QPalette::ColorRole text, background; } pairs[] = {{QPalette::WindowText, QPalette::Window},
                 {QPalette::ButtonText, QPalette::Button},
                 {QPalette::Text, QPalette::Base},
                 {QPalette::HighlightedText, QPalette::Highlight}};
    const struct { int text; std::vector<int> backgrounds; } themePairs[] = {
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
