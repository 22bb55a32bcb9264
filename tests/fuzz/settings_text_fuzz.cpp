// Settings and language files as an editor may leave them: any bytes. The code page and UTF-8
// conversions never fail and give each other back their text, and every key and value read from
// the file is well-formed UTF-8.
#include "base/AnsiText.h"
#include "base/TIniFile.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = kv::AnsiToUtf8(bytes);
    if (!kv::IsValidUtf8(utf8) || kv::Utf8ToAnsi(utf8) != bytes) __builtin_trap();
    if (kv::Utf8ToAnsi(bytes).size() > bytes.size()) __builtin_trap();

    static const std::string file = "/tmp/settings_text_fuzz_" + std::to_string(getpid()) + ".ini";
    if (FILE* out = std::fopen(file.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }
    for (const char* section : {"Translator", "Common"})
        for (const auto& [key, value] : kv::TIniFile(file).ReadSectionValues(section))
            if (!kv::IsValidUtf8(key) || !kv::IsValidUtf8(value)) __builtin_trap();
    return 0;
}
