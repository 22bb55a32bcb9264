#include "installer/sysinfo/win/SoftwareDetection.h"

#include "installer/sysinfo/DotNetFolders.h"
#include "installer/system/FileSystem.h"
#include "installer/system/RegistryView.h"
#include "installer/system/win/Registry.h"
#include "installer/text/win/WideName.h"

#include <string>
#include <vector>

namespace {

constexpr std::size_t kJavaVersionBytes = 50;
// The case flag of ByteString comparisons that ignore letter case.
constexpr int kIgnoreCase = 0;

std::string frameworkFolder()
{
    char windows[MAX_PATH] = {};
    const std::uint32_t length = getWindowsDirectory(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::string folder(windows);
    if (folder.back() != '\\')
        folder += '\\';
    return folder + "Microsoft.NET\\Framework\\";
}

// A registry text of at most limit bytes; empty when it cannot be read.
ByteString registryText(HKEY root, const std::string& key, const char* value, std::size_t limit = 0)
{
    std::vector<std::uint8_t> bytes;
    if (readRegistryBytes(root, key.c_str(), value, &bytes) != 1)
        return ByteString();
    std::size_t n = 0;
    while (n < bytes.size() && bytes[n] != 0 && (limit == 0 || n < limit))
        ++n;
    return ByteString(bytes.data(), static_cast<std::uint32_t>(n));
}

std::vector<std::string> subkeyNames(HKEY root, const std::string& key)
{
    std::vector<std::string> names;
    HKEY opened;
    if (RegOpenKeyExW(root, WideName(key), 0, KEY_ENUMERATE_SUB_KEYS | registryViewBits(), &opened) != ERROR_SUCCESS)
        return names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = 256;
        if (RegEnumKeyExW(opened, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(utf8FromWide(name, static_cast<int>(size)).cStr());
    }
    RegCloseKey(opened);
    return names;
}

std::size_t dots(const ByteString& text)
{
    std::size_t n = 0;
    for (std::uint32_t i = 0; i < text.length(); ++i)
        n += text.at(i) == '.';
    return n;
}

} // namespace

std::int32_t detectDotNet(ByteString* folder)
{
    const std::string framework = frameworkFolder();
    if (framework.empty())
        return -1;
    std::vector<FrameworkFolder> folders;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(WideName(framework + "*"), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || entry.cFileName[0] == L'.')
                continue;
            ByteString entryName = utf8FromWide(entry.cFileName);
            const std::string systemDll = framework + entryName.cStr() + "\\system.dll";
            folders.push_back({entryName, fileExists(systemDll.c_str())});
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    const DotNetFound found = dotNetFromFolders(folders);
    if (folder && found.code >= 0) {
        folder->assignCStr(framework.c_str());
        folder->append(found.folderName);
    }
    return found.code;
}

ByteString detectJava(HKEY root, const char* runtimeKey)
{
    const std::string key(runtimeKey);
    ByteString version = registryText(root, key, "CurrentVersion", kJavaVersionBytes);
    if (version.empty() || dots(version) >= 2)
        return version;
    ByteString versionKey(version);
    const std::string subkey = key + "\\" + versionKey.cStr();
    ByteString micro = registryText(root, subkey, "MicroVersion");
    ByteString home = registryText(root, subkey, "JavaHome");
    // The 9x family's installers may leave the micro version in another subkey of the same home.
    OSVERSIONINFOA os{};
    os.dwOSVersionInfoSize = sizeof(os);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const bool family9x = GetVersionExA(&os) && os.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
#pragma GCC diagnostic pop
    if (family9x && !home.empty()) {
        for (const std::string& name : subkeyNames(root, key)) {
            const std::string other = key + "\\" + name;
            ByteString otherHome = registryText(root, other, "JavaHome");
            ByteString otherMicro = registryText(root, other, "MicroVersion");
            if (otherHome.equals(home, kIgnoreCase) && std::string(otherMicro.cStr()) > "0") {
                micro = otherMicro;
                break;
            }
        }
    }
    version.appendChar('.');
    version.append(micro);
    return version;
}
