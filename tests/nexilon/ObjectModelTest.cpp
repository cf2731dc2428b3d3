#include <gtest/gtest.h>

#include <vector>

#include "nexilon/Nexilon.h"
#include "nexilon/ObjectBase.h"
#include "nexilon/Ptr.h"
#include "nexilon/Stream.h"

using namespace nexilon;

namespace {

constexpr CId kProbeClass{0x11111111, 0x22222222, 0x33333333, 0x44444444};
constexpr CId kUnknownClass{0xDEADBEEF, 0, 0, 1};

// A minimal object answering IObject only.
class CProbe final : public CObjectBase<IObject> {
public:
    CProbe() : CObjectBase(kProbeClass) {}
    IObject* QueryInterface(const CId& id) override { return id == IObject::Iid ? Answer() : nullptr; }
};

IObject* CreateProbe()
{
    return new CProbe();
}

class CRecordingListener final : public CObjectBase<IObjectListener> {
public:
    CRecordingListener() : CObjectBase(CId(9, 9, 9, 9)) {}
    IObject* QueryInterface(const CId& id) override
    {
        return id == IObjectListener::Iid || id == IObject::Iid ? Answer() : nullptr;
    }
    void OnObjectDestroyed(IObject* object) override { deaths.push_back(object); }

    std::vector<IObject*> deaths;
};

class ObjectModel : public ::testing::Test {
protected:
    void SetUp() override
    {
        q.Init();
        q.GetClassStore().RegisterClassNxl({kProbeClass, u"test::CProbe", &CreateProbe});
    }
    void TearDown() override { q.Close(); }
};

} // namespace

TEST_F(ObjectModel, ClassStoreCreatesRegisteredClassesAndAnswersOnlyTheirInterfaces)
{
    auto object = CPtr<IObject>::Adopt(q.GetClassStore().CreateObject(kProbeClass));
    ASSERT_TRUE(object);
    EXPECT_EQ(object->GetClassId(), kProbeClass);
    EXPECT_TRUE(q.GetClassStore().GetClassName(kProbeClass) == u"test::CProbe");
    // The interface a class does not answer is refused, not made.
    EXPECT_EQ(Query<IObject>(object.Get()).Get(), object.Get());
    EXPECT_FALSE(Query<IStream>(object.Get()));
    EXPECT_THROW(CreateInstance<IStream>(kProbeClass), CInvalidParameterException);

    try {
        q.GetClassStore().CreateObject(kUnknownClass);
        FAIL();
    } catch (const CInvalidParameterException& error) {
        EXPECT_EQ(error.GetFunction(), "nexilon::CClassStore::CreateObject");
        EXPECT_EQ(error.GetFile(), "ClassStore");
    }

    q.Close();
    EXPECT_FALSE(q.GetClassStore().IsRegistered(kProbeClass));
}

TEST_F(ObjectModel, ReferenceCountingAndListeners)
{
    IObject* raw = q.GetClassStore().CreateObject(kProbeClass);
    EXPECT_EQ(raw->AddRef(), 2u);
    EXPECT_EQ(raw->Release(), 1u);

    CRecordingListener told;
    told.AddRef(); // lives on the stack; keep the count from reaching 0
    CRecordingListener removed;
    removed.AddRef();
    raw->AddListener(&told);
    raw->AddListener(&removed);
    raw->RemoveListener(&removed);
    {
        CPtr<IObject> copy(raw);
        CPtr<IObject> moved(std::move(copy));
        EXPECT_FALSE(copy);
        EXPECT_EQ(raw->Release(), 1u);
        EXPECT_TRUE(told.deaths.empty());
    }
    ASSERT_EQ(told.deaths.size(), 1u);
    EXPECT_EQ(told.deaths[0], raw);
    EXPECT_TRUE(removed.deaths.empty());
}

TEST_F(ObjectModel, ObjectCounterSeesBirthAndDeath)
{
    CObjectCounter& counter = q.GetObjectCounter();
    const int before = counter.GetLiveCount(kProbeClass);
    const int totalBefore = counter.GetLiveCount();
    IObject* first = q.GetClassStore().CreateObject(kProbeClass);
    IObject* second = q.GetClassStore().CreateObject(kProbeClass);
    EXPECT_EQ(counter.GetLiveCount(kProbeClass), before + 2);
    EXPECT_EQ(counter.GetLiveCount(), totalBefore + 2);
    EXPECT_NE(first->GetObjectId(), second->GetObjectId());
    EXPECT_GT(second->GetObjectId(), first->GetObjectId());
    first->Release();
    EXPECT_EQ(counter.GetLiveCount(kProbeClass), before + 1);
    second->Release();
    EXPECT_EQ(counter.GetLiveCount(kProbeClass), before);
    EXPECT_EQ(counter.GetLiveCount(), totalBefore);
}

