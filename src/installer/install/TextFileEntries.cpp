// Text-file entries: portable, through the file services.
#include "installer/install/SystemChanges.h"

#include "installer/install/InstallEngine.h"
#include "installer/install/InstallFileSystem.h"
#include "installer/install/InstallName.h"
#include "installer/install/TextFileEdit.h"
#include "installer/state/UninstallLists.h"
#include "installer/variables/ConditionEvaluation.h"
#include "installer/variables/TextExpansion.h"

#include <string>

namespace {

std::string expandedFolders(const ByteString& text)
{
    ByteString copy(text);
    expandFolderVariables(copy);
    return std::string(reinterpret_cast<const char*>(copy.data()), copy.length());
}

std::int32_t percentDone(std::size_t index, std::size_t count)
{
    return static_cast<std::int32_t>((index + 1) * 100 / count);
}

void editTextFile(const TextFileEntry& entry)
{
    const std::string path = expandedFolders(entry.file);
    InstallFileSystem& fs = installFileSystem();
    const std::string folder = folderOf(path);
    if (!folder.empty())
        fs.createFolders(folder, true);
    if (!fs.exists(path)) {
        addListEntry(path.c_str(), gUninstallLog.files);
        fs.createEmpty(path);
    }
    ByteString content;
    if (content.loadFromFile(path.c_str()) < 0)
        return;
    const std::string old(reinterpret_cast<const char*>(content.data()), content.length());
    const auto edited = editedText(entry.mode, old, expandedFolders(entry.searchText), expandedFolders(entry.lineText));
    if (!edited)
        return;
    ByteString(reinterpret_cast<const std::uint8_t*>(edited->data()), static_cast<std::uint32_t>(edited->size()))
        .saveToFile(path.c_str());
}

} // namespace

std::uint8_t editTextFiles()
{
    const std::vector<TextFileEntry>& entries = gPackageToc.textFileEntries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!conditionHolds(entries[i].condition.get()))
            continue;
        editTextFile(entries[i]);
        setProgress(percentDone(i, entries.size()), 0);
    }
    return 1;
}
