#include "installer/package/TocSettings.h"

#include <array>

namespace {

// Reads booleans in order; each true one sets its bit in word, each false one clears it.
template <std::size_t N>
void readFlagBits(BlockReader& reader, const std::array<std::uint32_t, N>& bits, std::uint32_t& word)
{
    for (std::uint32_t bit : bits) {
        bool set = false;
        reader.readBool(set);
        word = set ? word | bit : word & ~bit;
    }
}

void skipIntegers(BlockReader& reader, int count)
{
    for (std::uint32_t ignored = 0; count > 0; --count)
        reader.readUnsigned(ignored);
}

void readProduct(BlockReader& r, PackageToc& toc, std::uint32_t& options)
{
    r.readText(toc.productId);
    r.readText(toc.productName);
    r.readText(toc.reportedProductKey);
    r.readText(toc.reportedProductName);
    r.readText(toc.installDir);
    readFlagBits(r, std::array{std::uint32_t{kOptionDestinationFromRegistry}}, options);
    r.readUnsigned(toc.destinationRegistryRoot);
    r.readText(toc.destinationKey);
    r.readText(toc.destinationValueName);
    r.readText(toc.shortcutDir);
}

void readProductRegistration(BlockReader& r, PackageToc& toc)
{
    r.readUnsigned(toc.productRegistryRoot);
    r.readText(toc.productKey);
    r.readText(toc.versionValueName);
    r.readText(toc.updatableVersions);
    r.readText(toc.versionToInstall);
    r.readText(toc.versionShown);
    r.readText(toc.pluginSettings);
    r.readText(toc.languagePageCaption);
    r.readText(toc.languagePagePrompt);
    r.readInt(toc.languagePageAutoLoad);
    r.readText(toc.uninstallerNameTemplate);
    r.readText(toc.uninstallDataSettings);
}

void readBackgroundColours(BlockReader& r, BackgroundStyle& style)
{
    for (std::uint32_t* field : {&style.topColour, &style.splitColour, &style.bottomColour, &style.splitPercent,
                                 &style.imageX, &style.imageY, &style.titleColour, &style.titleShadowColour,
                                 &style.subtitleColour, &style.subtitleShadowColour, &style.footerColour})
        r.readUnsigned(*field);
    style.flags = 0;
    readFlagBits(r,
                 std::array{std::uint32_t{kBackgroundFullScreen}, std::uint32_t{kBackgroundDrawn},
                            std::uint32_t{kBackgroundStretchImage}, std::uint32_t{kBackgroundTileImage},
                            std::uint32_t{kBackgroundCaption}, std::uint32_t{kBackgroundTransparentImage}},
                 style.flags);
}

void readRequirements(BlockReader& r, SystemRequirements& req, ByteString& javaVersion)
{
    for (std::uint32_t* field : {&req.probes, &req.cpuMHz, &req.cpuVendor, &req.cpuType, &req.cpuFeatures, &req.ramMB,
                                 &req.osFlags, &req.minBuild9x, &req.ntMajor, &req.ntMinor, &req.ntServicePack,
                                 &req.directX, &req.displayWidth, &req.displayHeight, &req.displayBits, &req.dotNet})
        r.readUnsigned(*field);
    r.readText(javaVersion);
    skipIntegers(r, 3);
    req.devices = 0;
    readFlagBits(r, std::array<std::uint32_t, 3>{0x1, 0x2, 0x4}, req.devices);
}

// Options 0-16 in order, then the silent switch, then ten more, skipping the bits that other
// settings give (21 and 27).
void readOptionSwitches(BlockReader& r, std::uint32_t& options, InstallerFlags& flags)
{
    std::array<std::uint32_t, 17> first{};
    for (std::uint32_t bit = 0; bit < first.size(); ++bit)
        first[bit] = 1u << bit;
    readFlagBits(r, first, options);
    bool silent = false;
    r.readBool(silent);
    if (silent)
        flags.silent = true;
    readFlagBits(r,
                 std::array<std::uint32_t, 10>{1u << 17, 1u << 18, 1u << 19, 1u << 20, 1u << 22, 1u << 23, 1u << 24,
                                               1u << 25, 1u << 26, 1u << 28},
                 options);
}

void readRunModes(BlockReader& r, PackageToc& toc, InstallerContext& context, SystemRequirements& req)
{
    r.readInt(toc.extractorMode);
    r.readText(toc.innerInstallerPath);
    r.readInt(toc.runFromFolderMode);
    r.readInt(context.systemPageOnlyOnProblems);
    r.readInt(toc.autorun);
    r.readInt(toc.registryView64);
    r.readUnsigned(req.adminRequired);
    r.readInt(toc.privilegesQuiet);
}

void readSlideshow(BlockReader& r, SlideshowSettings& slideshow)
{
    for (std::int32_t* field : {&slideshow.area, &slideshow.alignment, &slideshow.offsetX, &slideshow.offsetY,
                                &slideshow.durationSeconds, &slideshow.pageAlignment})
        r.readInt(*field);
}

} // namespace

bool readTocSettings(BlockReader& r, const TocTargets& t)
{
    std::uint32_t options = 0;
    skipIntegers(r, 1);
    readProduct(r, t.toc, options);
    r.readText(t.background.windowTitle);
    r.readText(t.background.title);
    r.readText(t.background.subtitle);
    r.readText(t.background.footer);
    r.readText(t.context.programToStart);
    r.readText(t.context.readmeToOpen);
    readProductRegistration(r, t.toc);
    readBackgroundColours(r, t.background);
    readRequirements(r, t.requirements, t.context.minimumJavaVersion);
    r.readUnsigned(t.context.userInfoOptions);
    r.readInt(t.context.defaultOverwriteMode);
    r.readUnsigned(t.context.packageOptions);
    readOptionSwitches(r, options, t.flags);
    readRunModes(r, t.toc, t.context, t.requirements);
    readFlagBits(r, std::array{std::uint32_t{kOptionThirdFinishItem}}, options);
    r.readText(t.context.thirdFinishItem);
    t.context.systemProbesState = 0;
    r.readInt(t.toc.normalInstallFallback);
    r.readInt(t.toc.licenseNextButtonText);
    r.readInt(t.toc.silentRunNeedsLicense);
    readSlideshow(r, t.slideshow);
    t.context.optionWord = options;
    return r.ok();
}
