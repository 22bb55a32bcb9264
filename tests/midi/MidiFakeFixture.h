#pragma once
// Each test gets its own fake MIDI services and fresh process-wide device objects over them.
#include "midi/kvMidiApi.h"
#include "midi/kvMidiDevicesInstances.h"
#include "midi/kvMidiFakeApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace kv {

class MidiFakeFixture : public ::testing::Test {
protected:
    MidiFakeFixture() : Fake(std::make_shared<TFakeMidiApi>()) { SetMidiApi(Fake); }
    ~MidiFakeFixture() override
    {
        FreeMidiDeviceObjects();
        SetMidiApi(nullptr);
    }

    // Log lines that start with Prefix, in order.
    std::vector<std::string> Calls(const std::string& Prefix) const
    {
        std::vector<std::string> lines;
        for (const std::string& line : Fake->Log())
            if (line.rfind(Prefix, 0) == 0) lines.push_back(line);
        return lines;
    }

    static std::uint32_t Packed(std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2)
    {
        return Event + Data1 * 0x100u + Data2 * 0x10000u;
    }

    std::shared_ptr<TFakeMidiApi> Fake;
};

} // namespace kv
