#pragma once
// The resource library of the desktop client (texts, images, templates) loaded
// from the output folder for a whole test run and made the module's resource
// instance, as the module's start-up does before anything else.
#include <gtest/gtest.h>

#include <functional>

#include "UniqueHandle.h"

namespace testsupport {
class ResourceEnvironment : public ::testing::Environment {
public:
    // `start` runs after the library is loaded (false fails the run) and
    // `stop` before it goes, for what the area starts on top of it.
    explicit ResourceEnvironment(std::function<bool(HINSTANCE)> start = {}, std::function<void()> stop = {});
    void SetUp() override;
    void TearDown() override;

private:
    std::function<bool(HINSTANCE)> m_start;
    std::function<void()> m_stop;
    UniqueHmodule m_resources;
};
}  // namespace testsupport
