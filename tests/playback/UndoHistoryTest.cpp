#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "RixModule.h"
#include "UndoHistory.h"
#include "nexilon/Nexilon.h"

namespace rix {
namespace {

// Notes which windows the history refreshes.
class CRefreshLog final : public IMessageTarget {
public:
    explicit CRefreshLog(std::vector<std::string>& log, std::string name) : log(log), name(std::move(name)) {}
    void PostMessage(uint32_t, uintptr_t, intptr_t) override {}
    void Refresh() override { log.push_back(name); }

private:
    std::vector<std::string>& log;
    std::string name;
};

class UndoHistory : public ::testing::Test {
protected:
    void SetUp() override
    {
        nexilon::q.Init();
        RegisterModuleClass();
        module = nexilon::CreateInstance<IRixModule>(CRixModule::ClassId);
        cursor = std::make_unique<CEditCursor>(notifier, playing);
        history = std::make_unique<CUndoHistory>(*module, *cursor, notifier);
        notifier.RegisterTarget(EDITOR_ORDER_TABLE, &orderTable);
        notifier.RegisterTarget(EDITOR_OSCILLATOR_LIST, &oscillators);
    }
    void TearDown() override
    {
        history.reset();
        module.Reset();
        nexilon::q.Close();
    }

    void Edit(const std::function<void(CRixModuleData&)>& edit)
    {
        CRixModuleLock data(*module, nexilon::LOCKMODE_WRITE);
        edit(*data);
    }
    CRixModuleData Song()
    {
        CRixModuleLock data(*module, nexilon::LOCKMODE_READ);
        return *data;
    }

    std::atomic<bool> playing{false};
    CEditorNotifier notifier;
    std::vector<std::string> refreshed;
    CRefreshLog orderTable{refreshed, "order table"};
    CRefreshLog oscillators{refreshed, "oscillators"};
    nexilon::CPtr<IRixModule> module;
    std::unique_ptr<CEditCursor> cursor;
    std::unique_ptr<CUndoHistory> history;
};

TEST_F(UndoHistory, KeepsTheNewest256DistinctStatesOnce)
{
    history->Undo();
    history->Redo();
    EXPECT_FALSE(history->CanUndo());
    for (uint32_t value = 1; value <= 300; ++value) {
        Edit([&](CRixModuleData& data) { data.patterns[2][3][4] = value; });
        history->TakeSnapshot();
        history->TakeSnapshot(); // nothing changed: not stored again
    }
    int undos = 0;
    for (; history->CanUndo(); ++undos)
        history->Undo();
    EXPECT_EQ(undos, 256);
    EXPECT_EQ(Song().patterns[2][3][4], 300u - 255u);
}

// A mixed history taken back step by step and done again: each undo puts
// back exactly its step's part of the song and cursor, and moves the
// editors there; redo returns to the newer states in turn, until a new
// snapshot drops what could be redone.
TEST_F(UndoHistory, UndoAndRedoWalkMixedStepsBothWaysUntilANewSnapshot)
{
    const struct { const char* name; bool instrument; std::function<void(CRixModuleData&)> edit; } edits[] = {
        {"order", false, [](CRixModuleData& d) { d.orderTable[1][7] = 3; }},
        {"oscillators", true, [](CRixModuleData& d) { d.channels[5].AddOscillator(); d.channels[5].volume = 7; }},
        {"pattern", false, [](CRixModuleData& d) { d.patterns[4][2][9] = 61; }},
        {"effects", true, [](CRixModuleData& d) { d.channels[5].effects.resize(2); }},
    };
    std::vector<CRixModuleData> states{Song()};
    std::vector<int32_t> rows;
    for (const auto& e : edits) {
        SCOPED_TRACE(e.name);
        cursor->SetRow(static_cast<int32_t>(states.size()));
        rows.push_back(cursor->Row());
        if (e.instrument)
            history->TakeInstrumentSnapshot(5);
        else
            history->TakeSnapshot();
        Edit(e.edit);
        states.push_back(Song());
    }
    cursor->SelectChannel(1);
    for (std::size_t step = std::size(edits); step-- > 0;) {
        SCOPED_TRACE(edits[step].name);
        refreshed.clear();
        history->Undo();
        EXPECT_TRUE(Song() == states[step]);
        if (edits[step].instrument) {
            EXPECT_EQ(cursor->Channel(), 5);
            EXPECT_EQ(refreshed, std::vector<std::string>{"oscillators"});
        } else {
            EXPECT_EQ(cursor->Row(), rows[step]);
            EXPECT_EQ(refreshed, std::vector<std::string>{"order table"});
        }
    }
    EXPECT_FALSE(history->CanUndo());
    for (std::size_t step = 1; step <= std::size(edits); ++step) {
        history->Redo();
        EXPECT_TRUE(Song() == states[step]) << edits[step - 1].name;
    }
    EXPECT_FALSE(history->CanRedo());
    history->Undo();
    ASSERT_TRUE(history->CanRedo());
    history->TakeInstrumentSnapshot(0);
    EXPECT_FALSE(history->CanRedo());
    history->Redo();
    EXPECT_TRUE(Song() == states[std::size(edits) - 1]);
}

} // namespace
} // namespace rix
