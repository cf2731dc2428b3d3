#pragma once

#include <cstdint>

#include <QTimer>
#include <QWidget>

#include "IMessageTarget.h"
#include "RixExportBreakdown.h"
#include "SongSizeWorker.h"

class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QSpinBox;
class QTableWidget;

namespace rix {

class CPlaybackController;

// The Song Size panel: where the exported song's bytes go, part by part
// (order table, each channel's patterns, envelopes, oscillators, effects,
// channel settings), raw and packed, with the replay routine's code for
// the features the song uses; the share of a budget the musician chooses
// (4 KB, 8 KB, 64 KB or a number of bytes, kept in the settings as
// "SongSize/Budget") that the music takes packed; and hints that save
// bytes.
//
// It follows the song without slowing edits down: a change starts a timer
// (at most one breakdown per kSettleMs), the song is copied under the read
// lock, and the breakdown runs on CSongSizeWorker; nothing is measured
// while the panel is hidden. UI thread.
class CSongSizeWnd : public QWidget, public IMessageTarget {
    Q_OBJECT

public:
    static constexpr int kSettleMs = 200;
    static constexpr int kDefaultBudget = 4096;

    CSongSizeWnd(CPlaybackController& controller, bool exact, QWidget* parent);
    ~CSongSizeWnd() override;

    // The form of the tables measured: the one the musician exports.
    void SetExact(bool exact);
    // Bytes of the budget.
    int Budget() const;
    void SetBudget(int bytes);
    // The breakdown shown, and whether one is (after the first result).
    const TRixExportBreakdown& Shown() const { return shown; }
    bool HasBreakdown() const { return hasBreakdown; }
    // True while a breakdown of the song as it is now is still to come.
    bool IsUpdating() const { return settle.isActive() || pendingSerial != shownSerial; }

    void PostMessage(uint32_t, uintptr_t, intptr_t) override {}
    void OnSongChanged(const TSongChange& change) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Schedule();
    void Measure();
    void Show(uint64_t serial, const TRixExportBreakdown& breakdown);
    void ShowShare();
    void OnBudgetChoice(int index);

    CPlaybackController& controller;
    bool exact;
    QLabel* summary;
    QTableWidget* table;
    QComboBox* budgetChoice;
    QSpinBox* budgetBytes;
    QLabel* shareText;
    QProgressBar* share;
    QListWidget* hints;
    QTimer settle;
    // The song changed since the last breakdown was asked for.
    bool dirty = true;
    uint64_t pendingSerial = 0;
    uint64_t shownSerial = 0;
    TRixExportBreakdown shown;
    bool hasBreakdown = false;
    // Last, so that it stops before what its results reach goes.
    CSongSizeWorker worker;
};

} // namespace rix
