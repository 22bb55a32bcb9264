#include "installer/sysinfo/win/DirectXDetection.h"

#include "installer/sysinfo/DirectXLadder.h"
#include "installer/system/win/ComRef.h"
#include "installer/system/win/SystemPaths.h"
#include "installer/system/win/VersionResource.h"
#include "installer/text/win/WideName.h"

#include <windows.h>

#include <ddraw.h>
#include <dinput.h>

#include <string>

namespace {

// {D2AC2881-B39B-11D1-8704-00600893B1BD}
const CLSID kDirectMusicClass = {0xD2AC2881, 0xB39B, 0x11D1, {0x87, 0x04, 0x00, 0x60, 0x08, 0x93, 0xB1, 0xBD}};
// {07D43D03-6523-11D2-871D-00600893B1BD}
const IID kDirectMusicInterface = {0x07D43D03, 0x6523, 0x11D2, {0x87, 0x1D, 0x00, 0x60, 0x08, 0x93, 0xB1, 0xBD}};

class Library {
public:
    explicit Library(const char* name) : module_(LoadLibraryW(WideName(name))) {}
    ~Library()
    {
        if (module_)
            FreeLibrary(module_);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    explicit operator bool() const { return module_ != nullptr; }
    template <typename Function>
    Function function(const char* name) const
    {
        return module_ ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name))) : nullptr;
    }

private:
    HMODULE module_;
};

using DirectDrawCreateFunction = HRESULT(WINAPI*)(GUID*, IDirectDraw**, IUnknown*);
using DirectInputCreateFunction = HRESULT(WINAPI*)(HINSTANCE, DWORD, IDirectInputA**, IUnknown*);
using DirectInput8CreateFunction = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, void**, IUnknown*);

// Objects and libraries live until the probe ends, as long as the ladder may ask of them.
class SystemDirectX : public DirectXProbe {
public:
    ~SystemDirectX() override
    {
        directDraw_.reset();
        directInput_.reset();
    }

    bool directDraw() override
    {
        auto create = ddraw_.function<DirectDrawCreateFunction>("DirectDrawCreate");
        return create && SUCCEEDED(create(nullptr, reinterpret_cast<IDirectDraw**>(directDraw_.out()), nullptr));
    }
    bool directDraw2() override { return hasInterface(directDraw_, IID_IDirectDraw2); }
    bool directInput() override
    {
        auto create = dinput_.function<DirectInputCreateFunction>("DirectInputCreateA");
        return create && SUCCEEDED(create(GetModuleHandleA(nullptr), 0x500, reinterpret_cast<IDirectInputA**>(directInput_.out()), nullptr));
    }
    bool directInput2() override { return hasInterface(directInput_, IID_IDirectInput2A); }
    bool directInput8() override
    {
        Library dinput8("DINPUT8.DLL");
        auto create = dinput8.function<DirectInput8CreateFunction>("DirectInput8Create");
        ComRef<IUnknown> object;
        return create && SUCCEEDED(create(GetModuleHandleA(nullptr), 0x800, IID_IDirectInput8A, object.out(), nullptr)) && object;
    }
    bool directDraw4() override { return hasInterface(directDraw_, IID_IDirectDraw4); }
    bool directMusicLibrary() override
    {
        Library dmusic("DMUSIC.DLL");
        return static_cast<bool>(dmusic);
    }
    bool directDraw7() override { return hasInterface(directDraw_, IID_IDirectDraw7); }
    bool directMusicObject() override
    {
        ComRef<IUnknown> music;
        const HRESULT initialised = CoInitialize(nullptr);
        const bool made = SUCCEEDED(CoCreateInstance(kDirectMusicClass, nullptr, CLSCTX_INPROC_SERVER, kDirectMusicInterface, music.out()));
        music.reset();
        if (SUCCEEDED(initialised))
            CoUninitialize();
        return made;
    }
    std::optional<FileVersion> systemFileVersion(const char* name) override
    {
        ByteString folder = systemFolderPath();
        if (folder.empty())
            return std::nullopt;
        const std::string path = std::string(folder.cStr()) + "\\" + name;
        FileVersion version;
        if (getFileVersion(path.c_str(), &version.high, &version.low) != 1)
            return std::nullopt;
        return version;
    }

private:
    template <typename Interface>
    static bool hasInterface(const ComRef<Interface>& object, REFIID iid)
    {
        if (!object)
            return false;
        ComRef<IUnknown> other;
        return SUCCEEDED(object->QueryInterface(iid, other.out())) && other;
    }

    Library ddraw_{"DDRAW.DLL"};
    Library dinput_{"DINPUT.DLL"};
    ComRef<IDirectDraw> directDraw_;
    ComRef<IDirectInputA> directInput_;
};

} // namespace

std::uint32_t detectDirectX()
{
    SystemDirectX probe;
    return directXVersion(probe);
}
