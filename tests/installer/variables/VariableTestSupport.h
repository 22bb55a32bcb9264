#pragma once
// A clean installer state for the variable tests: an empty variable list, empty folder values
// and built-in texts, fresh system-number cells, no search note. Everything is put back at the
// end of the scope.
#include "installer/state/InstallerState.h"
#include "installer/text/ByteString.h"
#include "installer/variables/FileSearchNote.h"
#include "installer/variables/SystemNumbers.h"
#include "installer/variables/VariableSources.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

class CleanVariableState {
public:
    CleanVariableState()
        : variables_(std::move(gPackageToc.variables)), folders_(gMainInstaller.folders),
          dotNetDir_(gMainInstaller.dotNetDir), installDir_(gPackageToc.installDir),
          shortcutDir_(gPackageToc.shortcutDir), uninstaller_(gPackageToc.uninstallerNameTemplate),
          resourceDir_(gPackageToc.resourceDirectory), userName_(gInstallerContext.userName),
          organisation_(gInstallerContext.organisation), optionWord_(gInstallerContext.optionWord),
          unicode_(gInstallerContext.unicode), osVersion_(gInstallerContext.osVersion),
          installationType_(gPackageToc.installationType), languageNumber_(gPackageToc.languageNumber),
          silent_(gFlags.silent), numbers_(gSystemNumbers), note_(setFileSearchNote({}))
    {
        gPackageToc.variables.clear();
        for (ByteString& folder : gMainInstaller.folders)
            folder = ByteString();
        gMainInstaller.dotNetDir = ByteString();
        gPackageToc.installDir = ByteString();
        gPackageToc.shortcutDir = ByteString();
        gPackageToc.uninstallerNameTemplate = ByteString();
        gPackageToc.resourceDirectory = ByteString();
        gInstallerContext.userName = ByteString();
        gInstallerContext.organisation = ByteString();
        gInstallerContext.optionWord = 0;
        gFlags.silent = false;
        resetSystemNumbers();
    }
    ~CleanVariableState()
    {
        gPackageToc.variables = std::move(variables_);
        gMainInstaller.folders = folders_;
        gMainInstaller.dotNetDir = dotNetDir_;
        gPackageToc.installDir = installDir_;
        gPackageToc.shortcutDir = shortcutDir_;
        gPackageToc.uninstallerNameTemplate = uninstaller_;
        gPackageToc.resourceDirectory = resourceDir_;
        gInstallerContext.userName = userName_;
        gInstallerContext.organisation = organisation_;
        gInstallerContext.optionWord = optionWord_;
        gInstallerContext.unicode = unicode_;
        gInstallerContext.osVersion = osVersion_;
        gPackageToc.installationType = installationType_;
        gPackageToc.languageNumber = languageNumber_;
        gFlags.silent = silent_;
        gSystemNumbers = numbers_;
        setFileSearchNote(note_);
    }
    CleanVariableState(const CleanVariableState&) = delete;
    CleanVariableState& operator=(const CleanVariableState&) = delete;

private:
    std::vector<std::unique_ptr<InstallerVariable>> variables_;
    std::array<ByteString, kFolderValueCount> folders_;
    ByteString dotNetDir_, installDir_, shortcutDir_, uninstaller_, resourceDir_, userName_, organisation_;
    std::uint32_t optionWord_;
    std::uint8_t unicode_;
    OsVersion osVersion_;
    std::int32_t installationType_, languageNumber_;
    bool silent_;
    SystemNumbers numbers_;
    FileSearchNote note_;
};

// Replaces the variable sources for one scope.
class ScopedVariableSources {
public:
    explicit ScopedVariableSources(VariableSources sources) : previous_(setVariableSources(std::move(sources))) {}
    ~ScopedVariableSources() { setVariableSources(std::move(previous_)); }
    ScopedVariableSources(const ScopedVariableSources&) = delete;
    ScopedVariableSources& operator=(const ScopedVariableSources&) = delete;

private:
    VariableSources previous_;
};

// Appends a variable as the table of contents declares it.
inline InstallerVariable& declareVariable(const char* name, std::int32_t kind, std::int32_t state,
                                          const char* defaultText = "", const char* textA = "",
                                          const char* textB = "", const char* textC = "", std::uint32_t flags = 0)
{
    auto variable = std::make_unique<InstallerVariable>();
    variable->name.assignCStr(name);
    variable->kind = kind;
    variable->state = state;
    variable->defaultText.assignCStr(defaultText);
    variable->textA.assignCStr(textA);
    variable->textB.assignCStr(textB);
    variable->textC.assignCStr(textC);
    variable->flags = flags;
    gPackageToc.variables.push_back(std::move(variable));
    return *gPackageToc.variables.back();
}

inline std::string expanded(void (*pass)(ByteString&), const char* text)
{
    ByteString value(text);
    pass(value);
    return value.cStr();
}
