#pragma once

// A test suite that shares one site simulator on 127.0.0.1: started before its
// first test, stopped after its last, its request log cleared before each test.
// Header-only, so only the test executables that link the simulator need it.

#include "site_simulator.h"

#include <gtest/gtest.h>

#include <string>

namespace mz::test {

class SimulatorSuite : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        simulator = new sim::SiteSimulator();
        ASSERT_TRUE(simulator->start());
    }
    static void TearDownTestSuite() {
        delete simulator;
        simulator = nullptr;
    }
    void SetUp() override { simulator->clearRequests(); }

    static std::string lastRequest() {
        auto requests = simulator->requests();
        return requests.empty() ? std::string() : requests.back();
    }
    // The request target the speech endpoint expects for an already encoded text.
    static std::string speakTarget(const std::string& encoded) {
        return "/V2/Http.svc/Speak?language=zh-CN&appid=" + simulator->speechAppId +
               "&text=" + encoded + "&format=audio/mp3&options=MaxQuality";
    }

    static inline sim::SiteSimulator* simulator = nullptr;
};

} // namespace mz::test
