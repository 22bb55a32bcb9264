// The state of files and registry keys a test compares before and after an installation.
#include "MachineState.h"

#include "PackageBuilder.h"

#include <wincrypt.h>

#include <sstream>

namespace fs = std::filesystem;

namespace {

void dumpKey(HKEY key, const std::string& path, std::ostringstream& out);

} // namespace

std::string sha256(const Bytes& bytes)
{
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;
    std::string digest;
    if (CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) &&
        CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash) &&
        CryptHashData(hash, bytes.data(), static_cast<DWORD>(bytes.size()), 0)) {
        BYTE value[32] = {};
        DWORD length = sizeof(value);
        if (CryptGetHashParam(hash, HP_HASHVAL, value, &length, 0))
            for (DWORD i = 0; i < length; ++i) {
                digest += "0123456789abcdef"[value[i] >> 4];
                digest += "0123456789abcdef"[value[i] & 15];
            }
    }
    if (hash)
        CryptDestroyHash(hash);
    if (provider)
        CryptReleaseContext(provider, 0);
    return digest;
}

std::string hexOf(const Bytes& bytes)
{
    std::string out;
    for (auto b : bytes) {
        out += "0123456789abcdef"[b >> 4];
        out += "0123456789abcdef"[b & 15];
    }
    return out;
}

Bytes bytesOf(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

std::map<std::string, std::string> fileTree(const fs::path& root)
{
    std::map<std::string, std::string> tree;
    const DWORD mask = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        std::ostringstream state;
        const DWORD attributes = GetFileAttributesW(item.path().c_str()) & mask;
        if (item.is_directory())
            state << "folder attributes=" << attributes;
        else
            state << "size=" << item.file_size() << " sha256=" << sha256(readWholeFile(item.path().string()))
                  << " attributes=" << attributes;
        tree[fs::relative(item.path(), root).generic_string()] = state.str();
    }
    return tree;
}

namespace {

void dumpKey(HKEY key, const std::string& path, std::ostringstream& out)
{
    char name[512];
    BYTE data[2048];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof(name);
        DWORD dataSize = sizeof(data);
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        out << path << " [" << name << "] type=" << type << " data=" << hexOf(Bytes(data, data + dataSize)) << "\n";
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof(name);
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY child = nullptr;
        out << path << "\\" << name << "\n";
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
            dumpKey(child, path + "\\" + name, out);
            RegCloseKey(child);
        }
    }
}

} // namespace

std::string registryKey(HKEY root, const char* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string(path) + " <missing>\n";
    std::ostringstream out;
    out << path << "\n";
    dumpKey(key, path, out);
    RegCloseKey(key);
    return out.str();
}

std::string registryValue(HKEY root, const char* path, const std::string& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<missing>";
    BYTE data[512];
    DWORD size = sizeof(data);
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type, data, &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::to_string(type) + ":" + hexOf(Bytes(data, data + size)) : "<missing>";
}

