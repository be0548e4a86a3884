// The library's entry points and class objects, used through its exports.
#include <gtest/gtest.h>

#include "support/ModuleLibrary.h"
#include "support/TestSupport.h"

using Microsoft::WRL::ComPtr;

namespace {
const CLSID kUnknownClass = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

class ClassObjects : public ::testing::Test {
protected:
    ModuleLibrary library{testsupport::BinFolder() + L"qkSJUI.dll"};

    void SetUp() override { ASSERT_TRUE(library.Loaded()); }
};

TEST_F(ClassObjects, AnswerOnlyForKnownClassesAndFactoryInterfaces) {
    // The interface is checked before the class; a refusal leaves nothing in
    // the caller's pointer, and there must be one.
    const struct {
        const CLSID& classId;
        const IID& iid;
        HRESULT expected;
    } refusals[] = {{kUnknownClass, IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
                    {kUnknownClass, IID_IDispatch, E_NOINTERFACE},
                    {kDesktopClientClass, __uuidof(IVelUIModule), E_NOINTERFACE}};
    for (const auto& refusal : refusals) {
        void* stale = reinterpret_cast<void*>(static_cast<ULONG_PTR>(0xBAD0));
        EXPECT_EQ(refusal.expected, library.GetClassObject(refusal.classId, refusal.iid, &stale));
        EXPECT_EQ(nullptr, stale);
    }
    EXPECT_EQ(E_POINTER, library.GetClassObject(kDesktopClientClass, IID_IClassFactory, nullptr));

    for (const CLSID& classId : {kDesktopClientClass, kHelpModuleClass}) {
        ComPtr<IUnknown> unknown, other;
        ASSERT_EQ(S_OK, library.GetClassObject(classId, IID_IUnknown, &unknown));
        ASSERT_EQ(S_OK, library.GetClassObject(classId, IID_IUnknown, &other));
        EXPECT_NE(unknown.Get(), other.Get()) << "every call hands out a new class object";
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(S_OK, unknown.As(&factory));
        // Only the caller's references (unknown and factory) are on a fresh class object.
        EXPECT_EQ(3u, unknown->AddRef());
        EXPECT_EQ(2u, unknown->Release());
    }
}

TEST_F(ClassObjects, UnloadRuleFollowsLiveObjectsAndLocks) {
    ASSERT_EQ(S_OK, library.CanUnloadNow());
    {
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(S_OK, library.GetClassObject(kDesktopClientClass, IID_PPV_ARGS(&factory)));
        // A class object alone does not keep the library.
        EXPECT_EQ(S_OK, library.CanUnloadNow());

        ComPtr<IVelUIModule> module;
        ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_PPV_ARGS(&module)));
        EXPECT_EQ(S_FALSE, library.CanUnloadNow());
        module.Reset();
        EXPECT_EQ(S_OK, library.CanUnloadNow());

        // Locks count: one of two released still keeps the library.
        EXPECT_EQ(S_OK, factory->LockServer(TRUE));
        EXPECT_EQ(S_OK, factory->LockServer(TRUE));
        EXPECT_EQ(S_OK, factory->LockServer(FALSE));
        EXPECT_EQ(S_FALSE, library.CanUnloadNow());
        EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    }
    EXPECT_EQ(S_OK, library.CanUnloadNow());
}
}  // namespace
