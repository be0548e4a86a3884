// The module's own start-up for tests of its windows: the resource library
// first, then the UI toolkit (which starts GDI+). A test program that lists
// this file among its sources gets both for its whole run.
#include <gtest/gtest.h>

#include "ModuleState.h"
#include "support/TestSupport.h"
#include "UIToolkit.h"
#include "UniqueHandle.h"

namespace {
class ToolkitEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        m_resources.reset(::LoadLibraryW((testsupport::BinFolder() + L"qksjres.dll").c_str()));
        ASSERT_TRUE(m_resources) << "qksjres.dll must be built beside the tests";
        ModuleState::SetResourceInstance(m_resources.get());
        ASSERT_TRUE(CUIToolkit::Initialize(m_resources.get(), testsupport::BinFolder()));
    }
    void TearDown() override {
        CUIToolkit::Uninitialize();
        ModuleState::SetResourceInstance(nullptr);
        m_resources.reset();
    }

private:
    UniqueHmodule m_resources;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);
}  // namespace
