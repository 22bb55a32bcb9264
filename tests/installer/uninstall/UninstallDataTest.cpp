// The uninstall data as its own reader sees it: body line, sections newest first, the registry
// trees with their flags, and the header with the uninstaller's page and images.
#include "UninstallTestSupport.h"

#include "TemplateWriter.h"
#include "installer/state/UninstallLists.h"
#include "installer/uninstall/UninstallData.h"
#include "installer/wizard/PageSequence.h"

namespace {

using namespace uninstall_reader;

std::string builtPlain()
{
    ByteString out;
    EXPECT_EQ(buildUninstallData(out), 1);
    return unscrambleOnce(unscrambleOnce(bytesOf(out)));
}

const Key* child(const Key& node, const std::string& name)
{
    for (const Key& key : node.keys)
        if (key.name == name)
            return &key;
    return nullptr;
}

class UninstallData : public UninstallTest {};

} // namespace

TEST_F(UninstallData, NothingLoggedEndsRightAfterTheRegistryHeading)
{
    EXPECT_EQ(builtPlain(), std::string("Product\0" "103\0" "settings\0\r\n"
                                        "Shared:\r\nBackups:\r\nFiles:\r\nDirectories:\r\nRegistry:\r\n", 75));
    gPackageToc.registryView64 = 1;
    gUninstallLog.omitSettings = true;
    const Data data = parsePlain(builtPlain());
    EXPECT_EQ(data.version, "103a");
    EXPECT_EQ(data.settings, "");
}

TEST_F(UninstallData, ListsAreWrittenNewestFirstBackupsInOrderAndEmptied)
{
    for (const char* file : {"a", "b", "c"})
        addListEntry(file, gUninstallLog.files);
    for (const char* dir : {"d1", "d2"})
        addListEntry(dir, gUninstallLog.directories);
    addListEntry("s1", gUninstallLog.shared);
    addListEntry("s2|ctrl", gUninstallLog.shared);
    addBackupLine(ByteString("bak1\tf1\t1\t2\t3\t4"));
    addBackupLine(ByteString("bak2\tf2\t1\t2\t3\t4"));
    const Data data = parsePlain(builtPlain());
    EXPECT_FALSE(data.hasHeader);
    EXPECT_EQ(data.product, "Product");
    EXPECT_EQ(data.headings, (std::vector<std::string>{"Shared:", "Backups:", "Files:", "Directories:", "Registry:"}));
    EXPECT_EQ(data.sections.at("Files:"), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(data.sections.at("Directories:"), (std::vector<std::string>{"d2", "d1"}));
    EXPECT_EQ(data.sections.at("Shared:"), (std::vector<std::string>{"s2|ctrl", "s1"}));
    EXPECT_EQ(data.sections.at("Backups:"), (std::vector<std::string>{"bak1\tf1\t1\t2\t3\t4", "bak2\tf2\t1\t2\t3\t4"}));
    for (const ByteString* list : {&gUninstallLog.files, &gUninstallLog.directories, &gUninstallLog.shared,
                                   &gUninstallLog.backupText})
        EXPECT_TRUE(list->empty());
}

TEST_F(UninstallData, PluginLoggedKeysMissingFromTheTreeAreWrittenWithFlags3)
{
    addListEntry("-2147483646\\Software\\Acme", gUninstallLog.keys);
    addListEntry("-2147483647\\Environment\\\\Path", gUninstallLog.values);
    addListEntry("-2147483648\\.acme", gUninstallLog.keys);
    const Data data = parsePlain(builtPlain());
    ASSERT_EQ(data.roots.size(), 4u);
    const Key* software = child(data.roots[2], "Software");
    ASSERT_NE(software, nullptr);
    EXPECT_EQ(software->flags, 3u);
    ASSERT_NE(child(*software, "Acme"), nullptr);
    EXPECT_EQ(child(*software, "Acme")->flags, 3u);
    const Key* environment = child(data.roots[1], "Environment");
    ASSERT_NE(environment, nullptr);
    EXPECT_EQ(environment->flags, 3u);
    // A value the plug-in logged is not processed: only its key is written.
    EXPECT_TRUE(environment->values.empty());
    ASSERT_NE(child(data.roots[0], ".acme"), nullptr);
    EXPECT_TRUE(data.roots[3].keys.empty());
    EXPECT_TRUE(gUninstallLog.keys.empty());
    EXPECT_TRUE(gUninstallLog.values.empty());
}

TEST_F(UninstallData, ProcessedKeysAndValuesCarryTheirActionInTheFlags)
{
    struct Case {
        std::int32_t state;
        std::uint32_t action;
        std::uint32_t written;
    };
    const Case cases[] = {{2, 0, 0}, {3, 1, 0}, {2, 2, 3}, {2, 3, 9}, {2, 4, 5}, {3, 7, 1}, {6, 2, 7}};
    gUninstallLog.treeBuilt = true;
    RegistryNode& machine = gPackageToc.registryRoots[2];
    int n = 0;
    for (const Case& c : cases) {
        RegistryNode key;
        key.name = ByteString(("K" + std::to_string(n++)).c_str());
        key.state = c.state;
        key.flags = c.action;
        machine.subkeys.push_back(std::move(key));
    }
    RegistryNode skipped;
    skipped.name = ByteString("NotProcessed");
    skipped.state = 1;
    skipped.flags = 2;
    machine.subkeys.push_back(std::move(skipped));
    RegistryNode& first = machine.subkeys.front();
    for (auto [name, result, action] : {std::tuple{"written", 2u, 0u}, std::tuple{"deleted", 2u, 2u},
                                        std::tuple{"untouched", 0u, 0u}, std::tuple{"kept", 2u, 1u}}) {
        RegistryValue value;
        value.name = ByteString(name);
        value.resultFlags = result;
        value.flags = action;
        first.values.push_back(std::move(value));
    }
    const Data data = parsePlain(builtPlain());
    const Key& root = data.roots[2];
    ASSERT_EQ(root.keys.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(root.keys[i].flags, cases[i].written) << "key " << i;
    ASSERT_EQ(root.keys[0].values.size(), 2u);
    EXPECT_EQ(root.keys[0].values[0].name, "written");
    EXPECT_EQ(root.keys[0].values[0].flags, 0u);
    EXPECT_EQ(root.keys[0].values[1].name, "deleted");
    EXPECT_EQ(root.keys[0].values[1].flags, 1u);
    EXPECT_TRUE(gPackageToc.registryRoots[2].subkeys.empty()) << "the trees are consumed";
}

TEST_F(UninstallData, TreesNotBuiltYetGiveOnlyTheLoggedKeys)
{
    RegistryNode stale;
    stale.name = ByteString("FromThePackage");
    stale.state = 2;
    gPackageToc.registryRoots[2].subkeys.push_back(std::move(stale));
    addListEntry("-2147483646\\Logged", gUninstallLog.keys);
    const Data data = parsePlain(builtPlain());
    ASSERT_EQ(data.roots[2].keys.size(), 1u);
    EXPECT_EQ(data.roots[2].keys[0].name, "Logged");
}

TEST_F(UninstallData, HeaderCarriesTextsTemplateAndEachImageOnce)
{
    const std::string image5 = folder.file("five.bmp");
    const std::string image7 = folder.file("seven.bmp");
    writeFile(image5, "BM five");
    writeFile(image7, "BM seven");
    gPackageToc.imageList.push_back({5, ByteString(image5.c_str())});
    gPackageToc.imageList.push_back({7, ByteString(image7.c_str())});
    // Image 6 stands for image 7.
    gPackageToc.identifierList = {6, 7};
    const nlohmann::json page = {{"controls",
                                  {{{"type", "static"}, {"subType", 3}, {"id", 1}, {"image", 5}},
                                   {{"type", "static"}, {"subType", 4}, {"id", 2}, {"image", 5}},
                                   {{"type", "button"}, {"style", 0x50000080}, {"id", 3}, {"image", 6}},
                                   {{"type", "static"}, {"subType", 0}, {"id", 4}, {"image", 7}},
                                   {{"type", "static"}, {"subType", 3}, {"id", 5}, {"image", 9}}}}};
    const Bytes pageBytes = templateFromDescription(page);
    TemplateEntry entry;
    entry.templateBytes = ByteString(pageBytes.data(), static_cast<std::uint32_t>(pageBytes.size()));
    entry.pageType = kUninstallerTemplatePage;
    gPackageToc.pageSequence.push_back(std::move(entry));
    gPackageToc.languageSetLangId = 0x0407;
    for (std::size_t k = 0; k < 11; ++k)
        gLanguageTexts[164 + k] = ByteString(("text" + std::to_string(k)).c_str());
    gLanguageTexts[7] = ByteString("Next");
    gLanguageTexts[5] = ByteString("Title");

    const Data data = parsePlain(builtPlain());
    ASSERT_TRUE(data.hasHeader);
    EXPECT_EQ(data.pageTemplate, std::string(pageBytes.begin(), pageBytes.end()));
    ASSERT_EQ(data.images.size(), 2u);
    EXPECT_EQ(data.images[0], (std::pair<std::uint32_t, std::string>{5, "BM five"}));
    EXPECT_EQ(data.images[1], (std::pair<std::uint32_t, std::string>{6, "BM seven"}));
    Cursor language(data.languageBlock);
    EXPECT_EQ(language.be32(), 0x0407u);
    EXPECT_EQ(language.be32(), 13u);
    for (std::uint32_t k = 0; k < 13; ++k) {
        EXPECT_EQ(language.be32(), k);
        const std::string expected = k < 11 ? "text" + std::to_string(k) : k == 11 ? "Next" : "Title";
        EXPECT_EQ(language.take(language.be32()), expected);
    }
    EXPECT_TRUE(language.atEnd());
    EXPECT_EQ(data.product, "Product");
    for (std::size_t k = 0; k < 11; ++k)
        gLanguageTexts[164 + k] = ByteString();
    gLanguageTexts[7] = ByteString();
    gLanguageTexts[5] = ByteString();
}
