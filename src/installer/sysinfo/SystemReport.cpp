#include "installer/sysinfo/SystemReport.h"

#include "installer/sysinfo/CpuIdentification.h"
#include "installer/sysinfo/RequirementChecks.h"
#include "installer/text/NumberTexts.h"

#include <bit>
#include <string>

namespace {

constexpr std::uint64_t kBytesPerMb = 1048576;
constexpr const char* kDiskPlaceholder = "(HD space placeholder)";

class ReportWriter {
public:
    ReportWriter(ByteString& report, SystemInfoResults& results, SystemNumbers& cache, const ReportInputs& inputs,
                 const SystemFacts& facts)
        : report_(report), results_(results), cache_(cache), in_(inputs), r_(inputs.requirements), facts_(facts)
    {
    }

    void os();
    void memory();
    void cpuType();
    void cpuSpeed();
    void diskSpace();
    void directX();
    void java();
    void dotNet();
    void displayModes();
    void devices(std::size_t label, std::uint32_t deviceBit, bool present);
    void plugin();
    void computer();
    void installedProducts();

private:
    ByteString text(std::size_t entry) const { return entry < in_.texts.size() ? in_.texts[entry] : ByteString(); }

    // The status column; counts a failure or an unknown.
    ByteString status(CheckStatus s)
    {
        switch (s) {
        case CheckStatus::met:
            return text(kTextMet);
        case CheckStatus::notMet:
            ++results_.failures;
            return text(kTextNotMet);
        default:
            ++results_.unknowns;
            return ByteString("-");
        }
    }

    void line(const ByteString& label, const ByteString& found, const ByteString& required, CheckStatus s)
    {
        ByteString l(label);
        l.appendChar('\t');
        l.append(found);
        l.appendChar('\t');
        l.append(required);
        l.appendChar('\t');
        l.append(status(s));
        addReportLine(report_, l);
    }

    void add(const ByteString& l) { addReportLine(report_, l); }

    const ProcessorIdentity& cpu();

    ByteString& report_;
    SystemInfoResults& results_;
    SystemNumbers& cache_;
    const ReportInputs& in_;
    const SystemRequirements& r_;
    const SystemFacts& facts_;
    std::optional<ProcessorIdentity> cpu_;
};

ByteString formatted(const char* fmt, std::initializer_list<FormatArg> args)
{
    ByteString t;
    t.format(fmt, args);
    return t;
}

ByteString sizeText(std::uint64_t bytes)
{
    ByteString t;
    formatSize(bytes, t);
    return t;
}

std::int32_t clampToInt(std::uint64_t value)
{
    return value > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<std::int32_t>(value);
}

void ReportWriter::os()
{
    const std::optional<OsVersion> os = facts_.osVersion();
    if (!os) {
        ++results_.unknowns;
        return;
    }
    const std::uint32_t servicePack = os->platformId == kPlatformNt ? servicePackFromCsd(facts_.csdVersion()) : 0;
    line(text(kTextOs), osFoundText(*os, servicePack), osRequiredText(r_),
         osRequirementMet(r_, *os, servicePack) ? CheckStatus::met : CheckStatus::notMet);
}

void ReportWriter::memory()
{
    std::uint64_t mb = facts_.physicalMemoryBytes() / kBytesPerMb;
    if (mb & 1)
        ++mb;
    const std::int32_t memoryMb = clampToInt(mb);
    results_.memoryMb = memoryMb;
    if (cache_.memoryMb == -1)
        cache_.memoryMb = memoryMb;
    const ByteString required = r_.ramMB ? formatted("%d MB", {r_.ramMB}) : ByteString("-");
    const bool met = mb >= r_.ramMB;
    line(ByteString("RAM:"), formatted("%d MB", {memoryMb}), required, met ? CheckStatus::met : CheckStatus::notMet);
}

const ProcessorIdentity& ReportWriter::cpu()
{
    if (!cpu_) {
        cpu_ = facts_.identifyCpu();
        results_.cpuVendor = cpu_->vendor;
        results_.cpuType = cpu_->type;
        results_.cpuFeatures = cpu_->features;
        if (cache_.cpuType == -1)
            cache_.cpuType = cpu_->type;
        if (cache_.cpuFlags == -1)
            cache_.cpuFlags = static_cast<std::int32_t>(cpu_->features);
    }
    return *cpu_;
}

void ReportWriter::cpuType()
{
    const ProcessorIdentity& identity = cpu();
    ByteString found;
    if (identity.vendor == kCpuVendorUnknown)
        found = text(kTextUnknown);
    else
        found.appendCStr(cpuTypeName(identity.type));
    line(text(kTextCpuType), found, cpuRequiredText(r_), cpuStatus(r_, identity));
}

void ReportWriter::cpuSpeed()
{
    const ProcessorIdentity& identity = cpu();
    std::uint32_t mhz = 0;
    if (cache_.cpuMhz > 0)
        mhz = static_cast<std::uint32_t>(cache_.cpuMhz);
    else if (identity.vendor != kCpuVendorUnknown)
        mhz = facts_.cpuMhz(identity);
    results_.cpuMhz = clampToInt(mhz);
    if (cache_.cpuMhz == -1 && mhz != 0)
        cache_.cpuMhz = results_.cpuMhz;
    const ByteString required = r_.cpuMHz ? formatted("%d MHz", {r_.cpuMHz}) : ByteString("-");
    if (mhz == 0) {
        line(text(kTextCpuSpeed), text(kTextUnknown), required, r_.cpuMHz ? CheckStatus::unknown : CheckStatus::met);
        return;
    }
    line(text(kTextCpuSpeed), formatted("%d MHz", {results_.cpuMhz}), required,
         mhz >= r_.cpuMHz ? CheckStatus::met : CheckStatus::notMet);
}

void ReportWriter::diskSpace()
{
    // The summary line goes above the drives, once they are known.
    const std::uint32_t at = report_.empty() ? 0 : report_.length() + 2;
    add(ByteString(kDiskPlaceholder));
    bool enough = false;
    for (const DriveSpace& drive : facts_.fixedDrives()) {
        ByteString l("    ");
        l.append(drive.root);
        l.appendChar('\t');
        l.append(sizeText(drive.availableBytes));
        add(l);
        if (drive.availableBytes >= in_.bytesRequired)
            enough = true;
    }
    ByteString diskLine(text(kTextDiskSpace));
    diskLine.appendCStr("\t\t");
    diskLine.append(sizeText(in_.bytesRequired));
    diskLine.appendChar('\t');
    diskLine.append(status(enough ? CheckStatus::met : CheckStatus::notMet));
    report_.erase(at, static_cast<std::uint32_t>(std::char_traits<char>::length(kDiskPlaceholder)));
    report_.insertCStr(diskLine.cStr(), at);
}

void ReportWriter::directX()
{
    std::uint32_t probed = 0;
    if (cache_.directX != -1) {
        probed = static_cast<std::uint32_t>(cache_.directX);
    } else {
        probed = facts_.directX();
        cache_.directX = static_cast<std::int32_t>(probed);
    }
    results_.directXMajor = static_cast<std::uint16_t>(directXMajor(probed));
    results_.directXMinor = static_cast<std::uint16_t>(directXMinor(probed));
    ByteString found;
    if (probed == 0) {
        found = text(kTextNoDirectX);
    } else {
        found.format("%d.%d", directXMajor(probed), directXMinor(probed));
        if (directXMajor(probed) == 9) {
            found.appendChar(' ');
            found.append(text(kTextDirectX9));
        }
    }
    if (r_.directX == 0) {
        line(text(kTextDirectX), found, ByteString("-"), CheckStatus::met);
        return;
    }
    const ByteString required = formatted("%d.%d", {r_.directX >> 16, r_.directX & 0xFFFF});
    line(text(kTextDirectX), found, required, probed != 0 && directXMet(probed, r_.directX) ? CheckStatus::met : CheckStatus::notMet);
}

void ReportWriter::java()
{
    ByteString label("Java ");
    label.append(text(kTextVersion));
    label.appendChar(':');
    const ByteString version = facts_.javaVersion();
    const bool none = version.empty() || version.equalsCStr("0");
    const ByteString found = none ? text(kTextNone) : version;
    if (in_.minimumJavaVersion.empty()) {
        line(label, found, text(kTextNone), CheckStatus::met);
        return;
    }
    const bool met = !none && compareVersionTexts(version, in_.minimumJavaVersion) >= 0;
    line(label, found, in_.minimumJavaVersion, met ? CheckStatus::met : CheckStatus::notMet);
}

void ReportWriter::dotNet()
{
    const std::int32_t code = facts_.dotNet();
    const char* foundText = dotNetFoundText(code);
    const char* requiredText = dotNetRequiredText(r_.dotNet);
    line(ByteString(".NET Framework:"), foundText ? ByteString(foundText) : text(kTextNone),
         requiredText ? ByteString(requiredText) : text(kTextNone), dotNetMet(code, r_.dotNet) ? CheckStatus::met : CheckStatus::notMet);
}

void ReportWriter::displayModes()
{
    DisplayModeSummary summary(r_.displayWidth, r_.displayHeight, r_.displayBits);
    for (const DisplayMode& mode : facts_.displayModes())
        summary.add(mode);
    const DisplayMode& largest = summary.largest();
    results_.largestWidth = clampToInt(largest.width);
    results_.largestHeight = clampToInt(largest.height);
    results_.largestModeBits = clampToInt(largest.bits);
    ByteString found = formatted("%dx%d %d ", {largest.width, largest.height, largest.bits});
    found.append(text(kTextColours));
    const bool noRequirement = r_.displayWidth == 0 && r_.displayHeight == 0;
    if (noRequirement || summary.requirementMet())
        results_.displayModeMet = 1;
    if (noRequirement) {
        line(text(kTextDisplayModes), found, ByteString("-"), CheckStatus::met);
        return;
    }
    ByteString required = formatted("%dx%d %d ", {r_.displayWidth, r_.displayHeight, r_.displayBits});
    required.append(text(kTextColours));
    line(text(kTextDisplayModes), found, required, summary.requirementMet() ? CheckStatus::met : CheckStatus::notMet);
}

void ReportWriter::devices(std::size_t label, std::uint32_t deviceBit, bool present)
{
    const bool required = r_.devices & deviceBit;
    line(text(label), text(present ? kTextMet : kTextNotMet), text(required ? kTextMet : kTextNotMet),
         required && !present ? CheckStatus::notMet : CheckStatus::met);
}

void ReportWriter::plugin()
{
    if (!facts_.pluginLines)
        return;
    const std::optional<PluginLines> plugin = facts_.pluginLines();
    if (!plugin)
        return;
    // The library's counts only add: negative answers are taken as none.
    results_.failures += plugin->failures > 0 ? plugin->failures : 0;
    results_.unknowns += plugin->unknowns > 0 ? plugin->unknowns : 0;
    for (const ByteString& l : plugin->lines)
        add(l);
}

void ReportWriter::computer()
{
    const ComputerFacts c = facts_.computer();
    if (cache_.screenWidth == -1)
        cache_.screenWidth = clampToInt(c.currentMode.width);
    if (cache_.screenHeight == -1)
        cache_.screenHeight = clampToInt(c.currentMode.height);
    if (cache_.bitsPerPixel == -1)
        cache_.bitsPerPixel = clampToInt(c.currentMode.bits);
    add(ByteString());
    add(text(kTextComputer));
    ByteString name(text(kTextComputerName));
    name.appendChar('\t');
    name.append(c.computerName);
    add(name);
    ByteString user(text(kTextUserName));
    user.appendChar('\t');
    user.append(c.userName);
    add(user);
    ByteString resolution(text(kTextResolution));
    resolution.format("\t%dx%d %d ", {c.currentMode.width, c.currentMode.height, c.currentMode.bits});
    resolution.append(text(kTextColours));
    add(resolution);
    ByteString processors(text(kTextProcessors));
    processors.format("\t%d", {c.processors});
    add(processors);
    if (c.currentMode.bits <= 4)
        return;
    results_.displayDevices = clampToInt(c.displayDevices.size());
    std::int32_t number = 0;
    for (const DisplayDevice& device : c.displayDevices) {
        ByteString head(text(kTextDisplayDevice));
        head.format(" %d:\t", {++number});
        head.append(device.description);
        add(head);
        const std::uint64_t wholeMb = device.videoMemoryBytes / kBytesPerMb;
        std::uint64_t tenths = (device.videoMemoryBytes % kBytesPerMb) / 102400;
        if (tenths > 9)
            tenths = 9;
        ByteString memoryLine("\t");
        memoryLine.append(text(kTextVideoMemory));
        ByteString separator(c.decimalSeparator);
        memoryLine.format(": %d%s%d MB", {clampToInt(wholeMb), separator.cStr(), static_cast<std::int32_t>(tenths)});
        add(memoryLine);
        if (device.driverName) {
            ByteString driverLabel(text(kTextDriver));
            ByteString driver(*device.driverName);
            add(formatted("\t%s: %s", {driverLabel.cStr(), driver.cStr()}));
        } else {
            add(ByteString());
        }
    }
}

void ReportWriter::installedProducts()
{
    add(ByteString());
    ByteString heading(text(kTextInstalledProducts));
    ByteString productName(in_.reportedProductName);
    add(formatted(heading.cStr(), {productName.cStr()}));
    std::optional<std::vector<InstalledProduct>> products;
    if (!in_.reportedProductKey.empty())
        products = facts_.installedProducts(in_.reportedProductKey);
    if (!products || products->empty()) {
        add(text(kTextNone));
        return;
    }
    ByteString versionLabel(text(kTextVersion));
    ByteString installedLabel(text(kTextInstalled));
    for (const InstalledProduct& product : *products) {
        ByteString l(product.name);
        if (product.version) {
            ByteString v(*product.version);
            l.format(" %s %s", {versionLabel.cStr(), v.cStr()});
        }
        if (product.installed) {
            ByteString i(*product.installed);
            l.format(", %s: %s", {installedLabel.cStr(), i.cStr()});
        }
        add(l);
    }
}

} // namespace

void addReportLine(ByteString& report, const ByteString& line)
{
    if (!report.empty())
        report.appendCStr("\r\n");
    report.append(line);
}

bool collectSystemInfo(ByteString& report, SystemInfoResults& results, SystemNumbers& cache, const ReportInputs& inputs,
                       const SystemFacts& facts, const std::function<void(std::int32_t percent)>& progress)
{
    ReportWriter writer(report, results, cache, inputs, facts);
    const std::uint32_t probes = inputs.requirements.probes;
    const std::int32_t selected = std::popcount(probes & 0x7FFFFFFFu);
    std::int32_t done = 0;
    // A probe that throws or faults is abandoned where it is; the lines it wrote stay.
    auto run = [&](std::uint32_t bits, auto&& probe) {
        if (!(probes & bits))
            return;
        try {
            if (facts.guard)
                facts.guard(probe);
            else
                probe();
        } catch (...) {
        }
        ++done;
        if (progress && selected > 0)
            progress(done * 100 / selected);
    };
    if (selected > 0) {
        run(kProbeOs, [&] { writer.os(); });
        run(kProbeMemory, [&] { writer.memory(); });
        run(kProbeCpuType | kProbeCpuSpeed, [&] {
            if (probes & kProbeCpuType)
                writer.cpuType();
            if (probes & kProbeCpuSpeed)
                writer.cpuSpeed();
        });
        run(kProbeDiskSpace, [&] { writer.diskSpace(); });
        run(kProbeDirectX, [&] { writer.directX(); });
        run(kProbeJava, [&] { writer.java(); });
        run(kProbeDotNet, [&] { writer.dotNet(); });
        run(kProbeDisplayModes, [&] { writer.displayModes(); });
        run(kProbeSound, [&] { writer.devices(kTextSound, kDeviceSound, facts.soundOutput()); });
        run(kProbeMidi, [&] { writer.devices(kTextMidi, kDeviceMidi, facts.midiOutput()); });
        run(kProbeJoystick, [&] {
            results.joystickProbed = 1;
            writer.devices(kTextJoystick, kDeviceJoystick, facts.joystick());
        });
    }
    try {
        writer.plugin();
    } catch (...) {
    }
    if (selected > 0) {
        run(kProbeComputer, [&] { writer.computer(); });
        run(kProbeInstalledProducts, [&] { writer.installedProducts(); });
    }
    return true;
}
