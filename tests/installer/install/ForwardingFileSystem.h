#pragma once
// The system's files, for a test that changes one answer of them (a clock, a look at each file
// asked about) and leaves every other call to the real thing.
#include "installer/install/InstallFileSystem.h"

class ForwardingFileSystem : public InstallFileSystem {
public:
    InstallFileSystem& real = systemFileSystem();
    bool exists(const std::string& p) override { return real.exists(p); }
    std::optional<std::uint32_t> attributes(const std::string& p) override { return real.attributes(p); }
    bool setAttributes(const std::string& p, std::uint32_t a) override { return real.setAttributes(p, a); }
    bool move(const std::string& f, const std::string& t) override { return real.move(f, t); }
    bool remove(const std::string& p) override { return real.remove(p); }
    bool copy(const std::string& f, const std::string& t) override { return real.copy(f, t); }
    bool createEmpty(const std::string& p) override { return real.createEmpty(p); }
    bool inUse(const std::string& p) override { return real.inUse(p); }
    bool deleteAtRestart(const std::string& p) override { return real.deleteAtRestart(p); }
    bool setTimes(const std::string& p, const std::uint64_t* c, const std::uint64_t* w) override { return real.setTimes(p, c, w); }
    std::optional<std::uint64_t> lastWriteTime(const std::string& p) override { return real.lastWriteTime(p); }
    std::optional<std::uint64_t> creationTime(const std::string& p) override { return real.creationTime(p); }
    FileVersionFacts version(const std::string& p) override { return real.version(p); }
    std::string languageName(std::uint16_t l) override { return real.languageName(l); }
    bool createFolders(const std::string& f, bool q) override { return real.createFolders(f, q); }
    ProbeResult probeCreate(const std::string& p) override { return real.probeCreate(p); }
    std::uint32_t tickCount() override { return real.tickCount(); }
};
