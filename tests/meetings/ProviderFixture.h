#pragma once
// A data provider wired the way the module wires it: a main frame that hands
// out the real web-API component, which serves a store the test writes; "now"
// is pinned.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "UniqueHandle.h"
#include "MainFrame.h"
#include "MeetingDataProvider.h"
#include "MeetingRecord.h"
#include "webapi/MeetingStore.h"

class ProviderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void SetNow(DATE now);
    // Writes the store and has the web-API component take it up.
    void Publish(const std::vector<webapitest::StoreMeeting>& meetings);
    // A fresh provider showing `day` (the pinned now when omitted), loaded.
    CMeetingDataProvider& Show(std::optional<DATE> day = std::nullopt);
    CMeetingRecord Record(UINT32 index);

    webapitest::MeetingStore store;
    std::optional<CMainFrame> frame;
    std::unique_ptr<CMeetingDataProvider> provider;
    UniqueHmodule resources;
    DATE now = 0.0;
};

// The first and last visible index, for compact expectations.
std::pair<INT32, INT32> Window(CMeetingDataProvider& provider);
