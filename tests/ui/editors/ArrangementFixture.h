#pragma once

// Both arrangement windows side by side on a shown top-level widget, with
// error boxes caught instead of shown.
#include <QKeyEvent>
#include <QStringList>
#include <QTest>
#include <memory>

#include "ControllerFixture.h"
#include "ErrorBox.h"
#include "OrderTableWnd.h"
#include "PatternWnd.h"
#include "Theme.h"

class CArrangementFixture : public CControllerFixture {
protected:
    void SetUp() override
    {
        CControllerFixture::SetUp();
        rix::CTheme::Create();
        top = std::make_unique<QWidget>();
        top->resize(530, 570);
        order = new rix::COrderTableWnd(Editor(), top.get());
        order->setGeometry(0, 0, 165, 560);
        pattern = new rix::CPatternWnd(Editor(), top.get());
        pattern->setGeometry(164, 310, 356, 250);
        top->show();
        rix::CErrorBox::SetHook([this](QWidget*, const QString& text) { errors << text; });
    }
    void TearDown() override
    {
        rix::CErrorBox::SetHook({});
        top.reset();
        CControllerFixture::TearDown();
    }

    rix::CRixModuleData Song()
    {
        return ReadSong<rix::CRixModuleData>([](const rix::CRixModuleData& data) { return data; });
    }
    // A key as the X server sends it: the keycode of the key's place plus
    // the key and text of the layout in use.
    static void PressPlaced(QWidget* widget, quint32 keycode, int key, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, keycode, 0, 0, text);
        QApplication::sendEvent(widget, &press);
    }
    // The centre of a cell.
    static QPoint PatternCell(int channel, int row) { return {25 + 40 * channel + 20, 21 + 14 * row + 7}; }
    static QPoint OrderCell(int channel, int position) { return {33 + 14 * channel + 7, 21 + 14 * position + 7}; }
    static void Drag(QWidget* widget, QPoint from, QPoint to)
    {
        QTest::mousePress(widget, Qt::LeftButton, {}, from);
        QTest::mouseMove(widget, to);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
    }

    std::unique_ptr<QWidget> top;
    rix::COrderTableWnd* order = nullptr;
    rix::CPatternWnd* pattern = nullptr;
    QStringList errors;
};
