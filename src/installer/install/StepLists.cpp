#include "installer/install/StepLists.h"

#include "installer/state/InstallerShutdown.h"
#include "installer/state/InstallerState.h"
#include "installer/state/UninstallLists.h"
#include "installer/variables/ConditionEvaluation.h"
#include "installer/variables/TextExpansion.h"
#include "installer/variables/VariableApi.h"

#include <cctype>

namespace {

enum ActionType : std::int32_t {
    kOpenOwned = 0,
    kOpen = 1,
    kOpenToo = 2,
    kExplore = 3,
    kMessage = 4,
    kAbort = 5,
    kRunProgram = 6,
    kYesNo = 7,
    kInput = 8,
    kSetVariable = 9,
};

enum FileOpType : std::int32_t {
    kCopy = 0,
    kDelete = 1,
    kMove = 2,
    kRename = 3,
    kCreateFolder = 4,
    kRemoveFolder = 5,
};

constexpr std::uint32_t kAbortRunsFinishLists = 0x1;
constexpr std::int32_t kFinishStep = 13;
constexpr std::uint32_t kAttributeDirectory = 0x10;

// Does nothing but end the installer: what runs until the program gives the system's.
class NoStepSystem : public StepSystem {
public:
    void shellExecute(const char*, const char*, const char*, const char*, bool) override {}
    bool messageBox(const char*, const char*, bool) override { return true; }
    bool inputDialog(const char*, const char*, std::string&) override { return false; }
    void runAndWait(const char*, const char*, const char*) override {}
    void endInstaller() override { ::endInstaller(); }
    bool createFolders(const char*) override { return false; }
    void removeEmptyFolder(const char*) override {}
    bool shellFileOperation(ShellFileFunction, const char*, const char*) override { return false; }
    std::optional<std::uint32_t> attributes(const char*) override { return std::nullopt; }
    void addFont(const char*) override {}
    void startProgram(const char*, const char*) override {}
    void restartWindows() override {}
    void exitProcess(std::uint32_t) override { ::endInstaller(); }
};

NoStepSystem gNoStepSystem;
StepSystem* gStepSystem = &gNoStepSystem;

std::string expanded(const ByteString& text)
{
    ByteString copy = text;
    expandFolderVariables(copy);
    expandBuiltinVariables(copy);
    expandVariables(copy, kAllVariables);
    return copy.cStr();
}

std::string asText(const ByteString& text)
{
    ByteString copy = text;
    return copy.cStr();
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

void runAction(StageAction& action, std::int32_t step)
{
    StepSystem& system = stepSystem();
    const std::int32_t type = action.type;
    const std::string t1 = type == kSetVariable ? asText(action.text1) : expanded(action.text1);
    const std::string t2 = expanded(action.text2);
    const std::string t3 = type == kYesNo || type == kInput ? asText(action.text3) : expanded(action.text3);
    switch (type) {
    case kOpenOwned:
        system.shellExecute("open", t1.c_str(), t2.c_str(), t3.c_str(), true);
        break;
    case kExplore:
        system.shellExecute("explore", t1.c_str(), t2.c_str(), t3.c_str(), false);
        break;
    case kMessage:
        system.messageBox(messageEscapes(t1).c_str(), messageEscapes(t2).c_str(), false);
        break;
    case kAbort:
        if ((action.flags & kAbortRunsFinishLists) != 0 && step != kFinishStep) {
            action.runsLeft = 0;
            runStageActions(kFinishStep);
            runStageFileOps(kFinishStep);
        }
        system.endInstaller();
        break;
    case kRunProgram: {
        const std::optional<std::string> folder = programActionFolder(t1, t3);
        const std::string message = asText(action.windowTitle);
        system.runAndWait(programActionCommand(t1, t2).c_str(), folder ? folder->c_str() : nullptr,
                          message.empty() ? nullptr : message.c_str());
        break;
    }
    case kYesNo: {
        const bool yes = system.messageBox(messageEscapes(t1).c_str(), messageEscapes(t2).c_str(), true);
        setVariableInt(t3.c_str(), yes ? 1 : 2);
        break;
    }
    case kInput: {
        const char* current = getVariableText(t3.c_str());
        std::string text = current ? current : "";
        if (system.inputDialog(t1.c_str(), t2.c_str(), text))
            setVariableText(t3.c_str(), text.c_str());
        break;
    }
    case kSetVariable:
        setVariableText(t1.c_str(), t2.c_str());
        break;
    default:
        system.shellExecute("open", t1.c_str(), t2.c_str(), t3.c_str(), false);
        break;
    }
}

bool endsWithTtf(const std::string& path)
{
    if (path.size() <= 4)
        return false;
    std::string tail = path.substr(path.size() - 4);
    for (char& c : tail)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return tail == ".TTF";
}

ShellFileFunction shellFunction(std::int32_t type)
{
    switch (type) {
    case kDelete:
        return ShellFileFunction::Delete;
    case kMove:
        return ShellFileFunction::Move;
    case kRename:
        return ShellFileFunction::Rename;
    default:
        return ShellFileFunction::Copy;
    }
}

// 1 when the operation did work.
std::int32_t runFileOp(StageFileOp& op)
{
    StepSystem& system = stepSystem();
    ByteString source = op.source;
    ByteString destination = op.destination;
    expandFolderVariables(source);
    expandFolderVariables(destination);
    op.step = -1;
    expandBuiltinVariables(source);
    expandVariables(source, kAllVariables);
    expandBuiltinVariables(destination);
    expandVariables(destination, kAllVariables);
    const std::string from = source.cStr();
    const std::string to = destination.cStr();

    if (op.type == kCreateFolder) {
        system.createFolders(from.c_str());
        return 1;
    }
    if (op.type == kRemoveFolder) {
        system.removeEmptyFolder(from.c_str());
        return 0;
    }
    const bool usesDestination = op.type == kCopy || op.type == kMove || op.type == kRename;
    const bool existedBefore = system.attributes(to.c_str()).has_value();
    const bool done =
        system.shellFileOperation(shellFunction(op.type), from.c_str(), usesDestination ? to.c_str() : nullptr);
    std::int32_t work = 0;
    if (done && op.type == kCopy && !existedBefore) {
        work = 1;
        const auto now = system.attributes(to.c_str());
        if (now && (*now & kAttributeDirectory) == 0)
            addListEntry(to.c_str(), gUninstallLog.files);
    }
    if ((op.type == kCopy || op.type == kMove) && endsWithTtf(to))
        system.addFont(to.c_str());
    return work;
}

} // namespace

StepSystem& stepSystem()
{
    return *gStepSystem;
}

StepSystem* setStepSystem(StepSystem* system)
{
    StepSystem* before = gStepSystem;
    gStepSystem = system ? system : &gNoStepSystem;
    return before;
}

std::string programActionCommand(const std::string& program, const std::string& arguments)
{
    std::string command = "\"" + program + "\" " + arguments;
    while (!command.empty() && command.back() == ' ')
        command.pop_back();
    return command;
}

std::optional<std::string> programActionFolder(const std::string& program, const std::string& folder)
{
    if (!folder.empty())
        return folder;
    const std::size_t slash = program.rfind('\\');
    if (slash == std::string::npos)
        return std::nullopt;
    return program.substr(0, slash);
}

std::string messageEscapes(std::string text)
{
    text = replaceAll(std::move(text), "<\\t>", "\t");
    text = replaceAll(std::move(text), "<\\r>", "\r");
    return replaceAll(std::move(text), "<\\n>", "\n");
}

std::int32_t runStageActions(std::int32_t step)
{
    std::vector<StageAction>& actions = gPackageToc.stageActions;
    for (std::size_t i = 0; i < actions.size(); ++i) {
        StageAction& action = actions[i];
        if (action.step != step || action.runsLeft == 0 || !conditionHolds(action.condition.get()))
            continue;
        runAction(action, step);
        if (action.runsLeft != -1)
            --action.runsLeft;
    }
    return 1;
}

std::int32_t runStageFileOps(std::int32_t step)
{
    std::int32_t count = 0;
    for (StageFileOp& op : gPackageToc.stageFileOps) {
        if (op.step != step || !conditionHolds(op.condition.get()))
            continue;
        count += runFileOp(op);
    }
    return count;
}
