#pragma once
// What choosing an installation type on its page sets: the bytes required and the progress
// totals from the package header, and the four installation-type variables.
#include "installer/text/ByteString.h"

#include <cstdint>

struct InstallTypeFigures {
    std::uint64_t bytesRequired = 0;
    std::uint64_t jpegBytes = 0;
    std::uint64_t mp3Bytes = 0;
    std::uint64_t otherBytes = 0;
};

// The header's figures for minimal (1) or typical (2) installations.
InstallTypeFigures installTypeFigures(const ByteString& header, std::int32_t type);
// "<IT_Typical>", "<IT_Minimal>", "<IT_Custom>" ("1" for the type, "0" for the others) and
// "<IT_Type>".
void setInstallTypeVariables(std::int32_t type);
