// The module's own start-up for tests of its windows: the resource library
// first, then the UI toolkit (which starts GDI+). A test program that lists
// this file among its sources gets both for its whole run.
#include <gtest/gtest.h>

#include "UIToolkit.h"
#include "support/ResourceEnvironment.h"
#include "support/TestSupport.h"

namespace {
[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new testsupport::ResourceEnvironment(
        [](HINSTANCE resources) { return CUIToolkit::Initialize(resources, testsupport::BinFolder()); },
        [] { CUIToolkit::Uninitialize(); }));
}  // namespace
