#include "support/ResourceEnvironment.h"

#include "ModuleState.h"
#include "support/TestSupport.h"

namespace testsupport {
ResourceEnvironment::ResourceEnvironment(std::function<bool(HINSTANCE)> start, std::function<void()> stop)
    : m_start(std::move(start)), m_stop(std::move(stop)) {}

void ResourceEnvironment::SetUp() {
    m_resources.reset(::LoadLibraryW((BinFolder() + L"qksjres.dll").c_str()));
    ASSERT_TRUE(m_resources) << "qksjres.dll must be built beside the tests";
    ModuleState::SetResourceInstance(m_resources.get());
    if (m_start) {
        ASSERT_TRUE(m_start(m_resources.get()));
    }
}

void ResourceEnvironment::TearDown() {
    if (m_stop) m_stop();
    ModuleState::SetResourceInstance(nullptr);
    m_resources.reset();
}
}  // namespace testsupport
