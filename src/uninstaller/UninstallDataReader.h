#pragma once
// The reader of the uninstall data that the installer appends to the uninstaller program, written
// from the data's layout alone (it shares no code with the installer, whose tests check what it
// writes with this reader): undoes the double scrambling and splits the plain data into header,
// body line, sections and registry trees. Anything that does not fit the layout throws.
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace uninstall_reader {

struct Value {
    std::string name;
    std::uint32_t flags = 0;
};
struct Key {
    std::uint32_t flags = 0;
    std::string name;
    std::vector<Value> values;
    std::vector<Key> keys;
};

struct Data {
    bool hasHeader = false;
    std::string languageBlock;
    std::string pageTemplate;
    // Image id and bytes, in stored order.
    std::vector<std::pair<std::uint32_t, std::string>> images;
    std::string product;
    std::string version;
    std::string settings;
    std::vector<std::string> headings;
    std::map<std::string, std::vector<std::string>> sections;
    // The four roots (values and keys only), HKEY_CLASSES_ROOT first.
    std::vector<Key> roots;
    // The plain bytes after "Registry:" CR LF.
    std::string registryBytes;

    // The lines under a heading ("Files:"); none when the data has no such section.
    const std::vector<std::string>& section(const std::string& heading) const
    {
        static const std::vector<std::string> none;
        const auto found = sections.find(heading);
        return found == sections.end() ? none : found->second;
    }
};

// Undoes one scrambling; throws when the check bytes do not match.
inline std::string unscrambleOnce(const std::string& in)
{
    if (in.size() < 10)
        throw std::runtime_error("scrambled data shorter than its key and check");
    const std::size_t n = in.size() - 10;
    std::uint8_t check[8] = {};
    for (std::size_t j = 0; j < n + 2; ++j)
        check[j % 8] = static_cast<std::uint8_t>(check[j % 8] + static_cast<std::uint8_t>(in[j]));
    for (int j = 0; j < 8; ++j)
        if (check[j] != static_cast<std::uint8_t>(in[n + 2 + j]))
            throw std::runtime_error("check bytes do not match");
    const std::uint8_t step = static_cast<std::uint8_t>(in[n]);
    const std::uint8_t start = static_cast<std::uint8_t>(in[n + 1]);
    std::string out = in.substr(0, n);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<char>(static_cast<std::uint8_t>(out[i]) - static_cast<std::uint8_t>(start + step * (i + 1)));
    return out;
}

class Cursor {
public:
    explicit Cursor(const std::string& bytes, std::size_t pos = 0) : bytes_(bytes), pos_(pos) {}
    std::uint32_t be32()
    {
        need(4);
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | static_cast<std::uint8_t>(bytes_[pos_++]);
        return v;
    }
    std::string take(std::size_t n)
    {
        need(n);
        std::string s = bytes_.substr(pos_, n);
        pos_ += n;
        return s;
    }
    std::string cstr()
    {
        const std::size_t end = bytes_.find('\0', pos_);
        if (end == std::string::npos)
            throw std::runtime_error("name without NUL");
        std::string s = bytes_.substr(pos_, end - pos_);
        pos_ = end + 1;
        return s;
    }
    std::size_t pos() const { return pos_; }
    bool atEnd() const { return pos_ == bytes_.size(); }

private:
    void need(std::size_t n) const
    {
        if (pos_ > bytes_.size() || n > bytes_.size() - pos_)
            throw std::runtime_error("data ends early");
    }
    const std::string& bytes_;
    std::size_t pos_;
};

// Registry paths are at most 512 keys deep; deeper nesting is not data an installer wrote.
constexpr int kMaxKeyDepth = 512;

inline void readNode(Cursor& in, Key& node, int depth = 0)
{
    if (depth > kMaxKeyDepth)
        throw std::runtime_error("registry keys nested too deep");
    for (std::uint32_t n = in.be32(); n > 0; --n) {
        Value value;
        value.name = in.cstr();
        value.flags = in.be32();
        node.values.push_back(value);
    }
    for (std::uint32_t n = in.be32(); n > 0; --n) {
        Key key;
        key.flags = in.be32();
        key.name = in.cstr();
        readNode(in, key, depth + 1);
        node.keys.push_back(std::move(key));
    }
}

// Parses the plain (unscrambled) data.
inline Data parsePlain(const std::string& plain)
{
    Data data;
    std::size_t pos = 0;
    if (plain.compare(0, 2, "\\1") == 0) {
        data.hasHeader = true;
        Cursor in(plain, 2);
        const std::uint32_t total = in.be32();
        data.languageBlock = in.take(in.be32());
        data.pageTemplate = in.take(in.be32());
        const std::uint32_t imagePart = in.be32();
        const std::size_t imagesStart = in.pos();
        for (std::uint32_t count = in.be32(); count > 0; --count) {
            const std::uint32_t size = in.be32();
            const std::uint32_t id = in.be32();
            data.images.emplace_back(id, in.take(size));
        }
        if (in.pos() - imagesStart != imagePart || in.pos() != total + 6)
            throw std::runtime_error("header lengths do not add up");
        pos = in.pos();
    }
    Cursor line(plain, pos);
    data.product = line.cstr();
    data.version = line.cstr();
    data.settings = line.cstr();
    if (line.take(2) != "\r\n")
        throw std::runtime_error("body line does not end with CR LF");
    pos = line.pos();
    std::string current;
    for (;;) {
        const std::size_t end = plain.find("\r\n", pos);
        if (end == std::string::npos)
            throw std::runtime_error("no \"Registry:\" heading");
        const std::string text = plain.substr(pos, end - pos);
        pos = end + 2;
        if (text == "Registry:")
            break;
        if (text == "Shared:" || text == "Backups:" || text == "Files:" || text == "Directories:") {
            current = text;
            data.headings.push_back(text);
            data.sections[text];
        } else {
            data.sections[current].push_back(text);
        }
    }
    data.headings.push_back("Registry:");
    data.registryBytes = plain.substr(pos);
    if (!data.registryBytes.empty()) {
        Cursor in(plain, pos);
        data.roots.resize(4);
        for (Key& root : data.roots)
            readNode(in, root);
        if (!in.atEnd())
            throw std::runtime_error("bytes after the registry trees");
    }
    return data;
}

inline Data parseScrambled(const std::string& stored)
{
    return parsePlain(unscrambleOnce(unscrambleOnce(stored)));
}

// The data appended to an uninstaller file: the trailer gives where it begins.
inline Data parseUninstallerFile(const std::string& file, std::uint32_t* oldSize = nullptr)
{
    if (file.size() < 4)
        throw std::runtime_error("file shorter than its trailer");
    std::uint32_t offset = 0;
    for (int i = 3; i >= 0; --i)
        offset = offset << 8 | static_cast<std::uint8_t>(file[file.size() - 4 + i]);
    if (offset > file.size() - 4)
        throw std::runtime_error("trailer points past the data");
    if (oldSize)
        *oldSize = offset;
    return parseScrambled(file.substr(offset, file.size() - 4 - offset));
}

} // namespace uninstall_reader
