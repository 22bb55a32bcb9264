#pragma once
// The DirectX version from what the system answers, rung by rung: which libraries load, which
// objects and interfaces can be made, and the file versions of the later runtimes. The answers
// come from a DirectXProbe, so the ladder runs on recorded answers in tests.
#include <cstdint>
#include <optional>

struct FileVersion {
    std::uint32_t high = 0;
    std::uint32_t low = 0;
};

class DirectXProbe {
public:
    virtual ~DirectXProbe() = default;
    // Asked in the ladder's order, each object at most once.
    virtual bool directDraw() = 0;
    virtual bool directDraw2() = 0;
    virtual bool directInput() = 0;
    virtual bool directInput2() = 0;
    virtual bool directInput8() = 0;
    virtual bool directDraw4() = 0;
    virtual bool directMusicLibrary() = 0;
    virtual bool directDraw7() = 0;
    virtual bool directMusicObject() = 0;
    // The file version of a library in the system folder; none when it cannot be read.
    virtual std::optional<FileVersion> systemFileVersion(const char* name) = 0;
};

// The major version in the low 16 bits and the minor in the high 16 bits; 0 without DirectDraw.
std::uint32_t directXVersion(DirectXProbe& probe);
// major.minor packed as the probe gives it.
constexpr std::uint32_t directXValue(std::uint32_t major, std::uint32_t minor)
{
    return (minor << 16) | major;
}
