#pragma once
// The system-exclusive receive buffer of one input device: the 4096 bytes handed to the driver,
// their header, and the stream that collects a message for the input handlers.
#include "base/TMemoryStream.h"
#include "base/TObject.h"
#include "midi/kvMidiApi.h"

#include <array>
#include <cstdint>

namespace kv {

class TSysExData : public TObject {
public:
    static constexpr std::uint32_t BufferSize = 4096;
    using TSysExBuffer = std::array<std::uint8_t, BufferSize + 1>;

    TSysExData()
    {
        SysExHeader.Data = SysExData.data();
        SysExHeader.BufferLength = BufferSize;
    }
    std::string ClassName() const override { return "TSysExData"; }

    TMemoryStream FSysExStream;
    TMidiHeader SysExHeader;
    TSysExBuffer SysExData{};
};

} // namespace kv
