#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <thread>
#include <vector>

#include "InPlaceEdit.h"
#include "MessageWidget.h"
#include "SpinWnd.h"
#include "VolumeBarWnd.h"

namespace rix {
namespace {

// A parent window that records the messages its controls send it.
class CRecordingParent : public CMessageWidget {
public:
    struct TMessage {
        uint32_t message;
        intptr_t lParam;
        bool operator==(const TMessage&) const = default;
    };
    std::vector<TMessage> messages;
    std::vector<uintptr_t> wParams;

    std::size_t Count(uint32_t message) const
    {
        return static_cast<std::size_t>(
            std::count_if(messages.begin(), messages.end(), [message](const TMessage& m) { return m.message == message; }));
    }

protected:
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        messages.push_back({message, lParam});
        wParams.push_back(wParam);
        return 7;
    }
};

TEST(Messages, PostFromAnyThreadArrivesOnTheUiThreadAndSendAnswersAtOnce)
{
    CRecordingParent window;
    std::thread([&window] { window.PostMessage(MSG_WAV_PROGRESS, 40, 0); }).join();
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(SendMessageTo(&window, MSG_EDIT_END, 0, 5), 7);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.messages, (std::vector<CRecordingParent::TMessage>{{MSG_EDIT_END, 5}, {MSG_WAV_PROGRESS, 0}}));
}

TEST(SpinWnd, StepsOnceThenRepeatsEvery80MsAfter300Ms)
{
    CRecordingParent parent;
    auto* spin = new CSpinWnd(&parent);
    const auto self = reinterpret_cast<intptr_t>(spin);
    struct TCase { int y; uint32_t message; };
    for (const TCase& c : {TCase{3, MSG_SPIN_UP}, TCase{15, MSG_SPIN_DOWN}}) {
        parent.messages.clear();
        parent.wParams.clear();
        QElapsedTimer clock;
        clock.start();
        QTest::mousePress(spin, Qt::LeftButton, {}, QPoint(6, c.y));
        QCoreApplication::processEvents();
        EXPECT_EQ(parent.messages, (std::vector<CRecordingParent::TMessage>{{c.message, self}}));
        QTest::qWait(200);
        if (clock.elapsed() < 280) { // a busy machine may have slept longer
            EXPECT_EQ(parent.Count(c.message), 1u);
        }
        QTest::qWait(300);
        QTest::mouseRelease(spin, Qt::LeftButton, {}, QPoint(6, c.y));
        const std::size_t held = parent.Count(c.message);
        // Qt timers fire at most 5 percent early, and late on a busy machine.
        const auto mostSteps = static_cast<std::size_t>(
            2 + std::max<qint64>(0, clock.elapsed() - CSpinWnd::RepeatDelay * 95 / 100) / (CSpinWnd::RepeatInterval * 95 / 100));
        EXPECT_GE(held, 2u);
        EXPECT_LE(held, mostSteps);
        QTest::qWait(200);
        EXPECT_EQ(parent.Count(c.message), held) << "steps after the release";
        EXPECT_EQ(parent.messages.size(), held);
        // The whole press is one gesture.
        EXPECT_EQ(parent.wParams.front(), GESTURE_STARTS);
        EXPECT_EQ(std::count(parent.wParams.begin(), parent.wParams.end(), GESTURE_CONTINUES), held - 1);
    }
}

TEST(VolumeBarWnd, ValueFromXKeepsEightPixelMargins)
{
    const std::pair<int, float> cases[] = {{-5, 0.0f}, {8, 0.0f}, {33, 0.25f}, {58, 0.5f}, {108, 1.0f}, {500, 1.0f}};
    for (const auto& [x, value] : cases)
        EXPECT_FLOAT_EQ(CVolumeBarWnd::ValueFromX(x, 116), value) << x;
}

TEST(VolumeBarWnd, ClickAndDragPostOnlyChanges)
{
    CRecordingParent parent;
    auto* bar = new CVolumeBarWnd(QStringLiteral("Volume"), 26, &parent);
    bar->setGeometry(0, 0, 116, 20);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(58, 10)); // 0.5 already: no change
    QTest::mouseMove(bar, QPoint(2, 10));
    QTest::mouseMove(bar, QPoint(0, 10));                      // still 0
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(0, 10));
    QTest::mouseMove(bar, QPoint(100, 10));                     // not dragging
    QCoreApplication::processEvents();
    EXPECT_FLOAT_EQ(bar->GetValue(), 0.0f);
    EXPECT_EQ(parent.messages,
              (std::vector<CRecordingParent::TMessage>{{MSG_VOLUME_BAR, reinterpret_cast<intptr_t>(bar)}}));
    EXPECT_EQ(parent.wParams, std::vector<uintptr_t>{GESTURE_STARTS}) << "the first change of the press starts it";
}

TEST(InPlaceEdit, EnterAndEscapeEndTheEditOtherKeysType)
{
    CRecordingParent parent;
    auto* edit = new CInPlaceEdit(&parent);
    QTest::keyClicks(edit, QStringLiteral("12"));
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape})
        QTest::keyClick(edit, key);
    EXPECT_EQ(edit->text(), "12");
    EXPECT_EQ(parent.messages, (std::vector<CRecordingParent::TMessage>{{MSG_EDIT_END, 0}, {MSG_EDIT_END, 0}}));
}

TEST(InPlaceEdit, HiddenWithTheFocusHandsItBackOtherwiseLeavesIt)
{
    // clickAway: the focus went to another widget before the edit was hidden.
    for (const bool clickAway : {false, true}) {
        CRecordingParent parent;
        auto* first = new QLineEdit(&parent);      // first in the focus chain
        auto* typing = new QLineEdit(&parent);     // where the user typed before
        auto* other = new QLineEdit(&parent);
        auto* edit = new CInPlaceEdit(&parent);
        edit->hide();
        parent.show();
        parent.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
        typing->setFocus();
        edit->show();
        edit->setFocus();
        if (clickAway)
            other->setFocus();
        edit->hide();
        EXPECT_EQ(QApplication::focusWidget(), clickAway ? other : typing) << clickAway;
        EXPECT_NE(QApplication::focusWidget(), first);
    }
}

} // namespace
} // namespace rix
