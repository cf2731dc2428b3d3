#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "RixModule.h"
#include "nexilon/Nexilon.h"

using namespace rix;
using nexilon::CPtr;

namespace {

class CountingSink : public IRixModifiedSink {
public:
    void SetModified() override { ++calls; }
    std::atomic<int> calls{0};
};

class RixModuleObject : public ::testing::Test {
protected:
    void SetUp() override
    {
        nexilon::q.Init();
        RegisterModuleClass();
        module = nexilon::CreateInstance<IRixModule>(CRixModule::ClassId);
    }
    void TearDown() override
    {
        module.Reset();
        nexilon::q.Close();
    }

    CPtr<IRixModule> module;
};

} // namespace

TEST_F(RixModuleObject, OnlyWritingUnlocksCountChanges)
{
    CountingSink sink;
    module->SetModifiedSink(&sink);
    EXPECT_EQ(module->GetChangeCount(), 1u);

    module->Lock(nexilon::LOCKMODE_READ);
    module->Unlock();
    EXPECT_EQ(module->GetChangeCount(), 1u);
    EXPECT_EQ(sink.calls.load(), 0);

    module->Lock(nexilon::LOCKMODE_WRITE); // nothing changed, still counted
    module->Unlock();
    EXPECT_EQ(module->GetChangeCount(), 2u);
    EXPECT_EQ(sink.calls.load(), 1);

    // Nested levels: each writing level counts once, reading ones never.
    CRixModuleData* data = module->Lock(nexilon::LOCKMODE_WRITE_EXCL);
    data->bpm = 90;
    module->Lock(nexilon::LOCKMODE_READ);
    module->Lock(nexilon::LOCKMODE_WRITE);
    module->Unlock();
    EXPECT_EQ(module->GetChangeCount(), 3u);
    module->Unlock();
    EXPECT_EQ(module->GetChangeCount(), 3u);
    module->Unlock();
    EXPECT_EQ(module->GetChangeCount(), 4u);
    EXPECT_EQ(sink.calls.load(), 3);

    module->SetModifiedSink(nullptr);
    module->Lock(nexilon::LOCKMODE_WRITE);
    module->Unlock();
    EXPECT_EQ(sink.calls.load(), 3);
}

