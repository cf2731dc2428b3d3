#pragma once

// The shell's tests: a main window on a fresh controller, with the settings
// and the application data (autosaves) in a temporary folder of the test.
#include <functional>
#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include "ControllerFixture.h"
#include "MainFrame.h"
#include "RixDoc.h"
#include "TemporaryFolder.h"

class CShellFixture : public CControllerFixture {
protected:
    void SetUp() override
    {
        CControllerFixture::SetUp();
        ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
        QCoreApplication::setOrganizationName(QStringLiteral("Kestrelab"));
        QCoreApplication::setApplicationName(QStringLiteral("sonrix3"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(folder / "config"));
        frame = std::make_unique<rix::CMainFrame>(Editor());
        frame->Document().OnNewDocument();
    }
    void TearDown() override
    {
        frame.reset();
        CControllerFixture::TearDown();
    }

    // A restart of the window (not of the controller): what the settings keep.
    void RestartFrame()
    {
        frame.reset();
        frame = std::make_unique<rix::CMainFrame>(Editor());
    }

    // Answers the next message box with button and returns its text
    // (empty when none came within a second).
    std::shared_ptr<QString> AnswerNextMessageBox(QMessageBox::StandardButton button)
    {
        auto text = std::make_shared<QString>();
        auto* timer = new QTimer(frame.get());
        auto tries = std::make_shared<int>(0);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, button, text, tries] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && box->button(button)) {
                *text = box->text() + QStringLiteral("\n") + box->informativeText();
                box->button(button)->click();
            } else if (box) {
                *text = QStringLiteral("unexpected buttons: ") + box->text();
                box->reject();
            }
            if (box || ++*tries > 100) {
                // Deleting waits for the outer event loop; stop answering now.
                timer->stop();
                timer->deleteLater();
            }
        });
        timer->start(10);
        return text;
    }

    void SetCell(uint32_t value)
    {
        EditSong([value](rix::CRixModuleData& song) { song.patterns[2][3][4] = value; });
    }
    uint32_t Cell()
    {
        return ReadSong<uint32_t>([](const rix::CRixModuleData& song) { return song.patterns[2][3][4]; });
    }
    QString Path(const char* name) const { return QString::fromStdString(folder / name); }

    rixtest::CTemporaryFolder folder;
    std::unique_ptr<rix::CMainFrame> frame;
};
