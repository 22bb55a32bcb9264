// The real Korvanel.exe under Wine, copied into a folder of its own with scripted MIDI devices:
// what a start and an exit leave in the settings file, which devices they open, what the windows
// show, with and without a language file.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

std::string ReadFile(const std::wstring& name)
{
    std::ifstream in(name.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::wstring& name, const std::string& bytes) { std::ofstream(name.c_str(), std::ios::binary) << bytes; }

std::wstring Text(HWND wnd)
{
    wchar_t text[256] = {};
    SendMessageTimeoutW(wnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

bool IsMessageBox(HWND wnd)
{
    wchar_t name[16] = {};
    GetClassNameW(wnd, name, 16);
    return std::wstring(name) == L"#32770";
}

struct FindArgs {
    DWORD pid;
    std::wstring caption; // any caption when empty
    bool messageBox = false;
    HWND found = nullptr;
};

// A message box bears the application's title too: it is told from the windows by its class.
BOOL CALLBACK FindTopLevel(HWND wnd, LPARAM lParam)
{
    auto* args = reinterpret_cast<FindArgs*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid == args->pid && IsMessageBox(wnd) == args->messageBox && (args->caption.empty() || Text(wnd) == args->caption)) {
        args->found = wnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectChildTexts(HWND wnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<std::wstring>*>(lParam)->push_back(Text(wnd));
    return TRUE;
}

class Korvanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"kv_korvanel_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                  std::to_wstring(GetTickCount()) + L"\\";
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        program_ = folder_ + L"Korvanel.exe";
        ASSERT_TRUE(CopyFileW(Wide("Z:" KORVANEL_EXE).c_str(), program_.c_str(), FALSE)) << KORVANEL_EXE;
        log_ = folder_ + L"fake.log";
    }
    void TearDown() override
    {
        if (process_.hProcess) {
            TerminateProcess(process_.hProcess, 1);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
        for (const wchar_t* name : {L"Korvanel.exe", L"Korvanel.ini", L"fake.log", L"fr_FR.lng", L"song.mid", L"bad.kbl", L"feed.txt"})
            DeleteFileW((folder_ + name).c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    // Starts the program with the fake's devices and the command-line argument, if any; returns
    // the time to its main window's first paint.
    std::chrono::milliseconds Start(const std::string& devices, const std::wstring& argument = L"")
    {
        const auto begin = std::chrono::steady_clock::now();
        Launch(devices, argument);
        main_ = WaitWindow(L"VELDRANE");
        if (main_) SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 30000, nullptr);
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begin);
    }
    void Launch(const std::string& devices, const std::wstring& argument = L"")
    {
        std::string fake = devices + ";log=";
        for (wchar_t c : log_) fake += static_cast<char>(c);
        SetEnvironmentVariableA("KV_MIDI_FAKE", fake.c_str());
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        std::wstring command = L"\"" + program_ + L"\"";
        if (!argument.empty()) command += L" \"" + argument + L"\"";
        EXPECT_TRUE(CreateProcessW(program_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   folder_.c_str(), &si, &process_));
        SetEnvironmentVariableA("KV_MIDI_FAKE", nullptr);
    }
    HWND WaitWindow(const std::wstring& caption, bool visible = true, bool messageBox = false)
    {
        for (int i = 0; i < 1200; ++i) {
            FindArgs args{process_.dwProcessId, caption, messageBox};
            EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&args));
            if (args.found && (!visible || IsWindowVisible(args.found))) return args.found;
            Sleep(50);
        }
        return nullptr;
    }
    // Closes the main window and waits for the program's end; its exit code.
    DWORD Close()
    {
        PostMessageW(main_, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForSingleObject(process_.hProcess, 60000), WAIT_OBJECT_0);
        DWORD code = 1;
        GetExitCodeProcess(process_.hProcess, &code);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        process_ = {};
        return code;
    }
    std::vector<std::wstring> ChildTexts(HWND wnd)
    {
        std::vector<std::wstring> texts;
        EnumChildWindows(wnd, CollectChildTexts, reinterpret_cast<LPARAM>(&texts));
        return texts;
    }
    static bool Has(const std::vector<std::wstring>& texts, const std::wstring& text)
    {
        for (const auto& t : texts)
            if (t == text) return true;
        return false;
    }
    // The lines of the fake's log that open a device.
    std::vector<std::string> Opened()
    {
        std::istringstream log(ReadFile(log_));
        std::vector<std::string> opened;
        for (std::string line; std::getline(log, line);)
            if (line.rfind("midiInOpen(", 0) == 0 || line.rfind("midiOutOpen(", 0) == 0) opened.push_back(line.substr(0, line.find(')') + 1));
        return opened;
    }
    std::string Settings() { return ReadFile(folder_ + L"Korvanel.ini"); }
    // The lines of the fake's log that start with Prefix.
    std::vector<std::string> LogLines(const std::string& prefix)
    {
        std::istringstream log(ReadFile(log_));
        std::vector<std::string> lines;
        for (std::string line; std::getline(log, line);)
            if (line.rfind(prefix, 0) == 0) lines.push_back(line);
        return lines;
    }

    std::wstring folder_, program_, log_;
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

TEST_F(Korvanel, AFreshStartAndExitWritesTheSettingsAndOpensTheFirstDevices)
{
    const auto startUp = Start("in=Keys;out=Synth A;out=Synth B");
    ASSERT_TRUE(main_);
    std::printf("start-up to the main window's first paint: %lld ms\n", static_cast<long long>(startUp.count()));
    RECT client;
    GetClientRect(main_, &client);
    EXPECT_EQ(client.right, 951);
    EXPECT_EQ(client.bottom, 219);
    EXPECT_FALSE(GetWindowLongPtrW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    const auto texts = ChildTexts(main_);
    for (const wchar_t* text : {L"Key:", L"Speed:", L"Volume:", L"Octave:", L"Meter:", L"Time:", L"File:", L"100%",
                                L"4/4", L"0:00:00.000", L"Untitled.mid"})
        EXPECT_TRUE(Has(texts, text)) << std::wstring(text).size();
    EXPECT_EQ(Close(), 0u);
    // The piano-roll window goes first and keeps its zoom, the keyboard window the last layout
    // (none); the options window writes the rest.
    EXPECT_EQ(Settings(), "[PianoRoll]\r\nQuarterNoteWidth=64\r\nQuarterNoteHeight=6\r\n"
                          "[Common]\r\nLastLayout=\r\nDefaultColor=8240639\r\nHandColorL=11844998\r\nHandColorR=10458846\r\n"
                          "AutoRepeat=0\r\nStayOnTop=0\r\nLastFile=Untitled.mid\r\n"
                          "[Device]\r\nInput=[0]\r\nOutput=[0]\r\n");
    const auto opened = Opened();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].substr(0, 12), "midiInOpen(0");
    EXPECT_EQ(opened[1], "midiOutOpen(0)");
}

TEST_F(Korvanel, TheDevicesAndOptionsOfTheFileAreTakenAndWrittenBack)
{
    std::string outputs;
    for (int i = 0; i < 12; ++i) outputs += ";out=Synth " + std::to_string(i);
    WriteFile(folder_ + L"Korvanel.ini", "[Common]\r\nDefaultColor=0x00FF00\r\nHandColorL=banana\r\nAutoRepeat=1\r\n"
                                         "StayOnTop=1\r\nLastFile=Etude.mid\r\n"
                                         "[Device]\r\nInput=\r\nOutput= [1][3] \r\n[PianoRoll]\r\nShowRoll=7\r\n");
    Start("in=Keys" + outputs);
    ASSERT_TRUE(main_);
    EXPECT_TRUE(GetWindowLongPtrW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(Has(ChildTexts(main_), L"Etude.mid"));
    EXPECT_EQ(Close(), 0u);
    // [1][3] names outputs 1 and 3, not 11 or 13; an empty Input opens no input.
    EXPECT_EQ(Opened(), (std::vector<std::string>{"midiOutOpen(1)", "midiOutOpen(3)"}));
    EXPECT_EQ(Settings(), "[Common]\r\nDefaultColor=65280\r\nHandColorL=11844998\r\nAutoRepeat=1\r\n"
                          "StayOnTop=1\r\nLastFile=Etude.mid\r\nLastLayout=\r\nHandColorR=10458846\r\n"
                          "[Device]\r\nInput=\r\nOutput=[1][3]\r\n[PianoRoll]\r\nShowRoll=7\r\n"
                          "QuarterNoteWidth=64\r\nQuarterNoteHeight=6\r\n");
}

TEST_F(Korvanel, ThePianoRollOpenAtTheLastEndOpensAgainAboveTheMainWindow)
{
    WriteFile(folder_ + L"Korvanel.ini", "[PianoRoll]\r\nShowRoll=1\r\nQuarterNoteWidth=0\r\nQuarterNoteHeight=12\r\n");
    Start("out=Synth A");
    ASSERT_TRUE(main_);
    RECT before;
    GetWindowRect(main_, &before);
    HWND roll = WaitWindow(L"Piano Roll");
    ASSERT_TRUE(roll);
    // The roll stands right above the main window, at the screen's top when there is no room;
    // then the main window goes below it, as far as the screen allows: the roll covers nothing.
    RECT r, m;
    const auto placed = [&] {
        GetWindowRect(roll, &r);
        GetWindowRect(main_, &m);
        return r.bottom <= m.top;
    };
    for (int i = 0; i < 200 && !placed(); ++i) Sleep(50);
    const LONG rollHeight = r.bottom - r.top, mainHeight = m.bottom - m.top;
    EXPECT_EQ(r.left, m.left);
    EXPECT_EQ(r.right, m.right);
    EXPECT_EQ(r.top, std::max(0L, before.top - rollHeight));
    EXPECT_EQ(m.top, std::max(before.top, std::min(GetSystemMetrics(SM_CYSCREEN) - mainHeight, r.bottom)));
    EXPECT_LE(r.bottom, m.top);
    // Moved, the main window carries the roll along, centred above it.
    SetWindowPos(main_, nullptr, m.left + 100, m.top + 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const LONG left = m.left + 100 + ((m.right - m.left) - (r.right - r.left)) / 2, top = std::max(0L, m.top + 150 - rollHeight);
    for (int i = 0; i < 200; ++i) {
        GetWindowRect(roll, &r);
        if (r.left == left && r.top == top) break;
        Sleep(50);
    }
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(Close(), 0u);
    // Still open at the end: it opens again next time. A width of 0 came in as the smallest zoom.
    const std::string settings = Settings();
    EXPECT_NE(settings.find("[PianoRoll]\r\nShowRoll=1\r\nQuarterNoteWidth=16\r\nQuarterNoteHeight=12\r\n"),
              std::string::npos)
        << settings;
}

TEST_F(Korvanel, TheAboutBoxShowsTheVersionOfTheProgramsResource)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(program_.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<unsigned char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(program_.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const std::wstring version = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionMS)) +
                                 L"." + std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionLS));

    Start("out=Synth");
    ASSERT_TRUE(main_);
    PostMessageW(main_, WM_SYSCOMMAND, 0xA1, 0);
    HWND about = WaitWindow(L"About");
    ASSERT_TRUE(about);
    EXPECT_TRUE(Has(ChildTexts(about), L"VELDRANE " + version));
    // Closed, it is gone; About again makes a new one.
    PostMessageW(about, WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && IsWindow(about); ++i) Sleep(50);
    EXPECT_FALSE(IsWindow(about));
    PostMessageW(main_, WM_SYSCOMMAND, 0xA1, 0);
    EXPECT_TRUE(WaitWindow(L"About"));
    EXPECT_EQ(Close(), 0u);
}

TEST_F(Korvanel, ALanguageFileTranslatesTheWindows)
{
    WriteFile(folder_ + L"Korvanel.ini", "[Common]\r\nLanguageOverride=fr_FR.lng\r\n");
    WriteFile(folder_ + L"fr_FR.lng", "[Translator]\r\nKey:=Ton:\r\nOptions=Reglages\r\nClose=Fermer\r\nAbout=A propos\r\n"
                                      // A button translated twice would show this.
                                      "Fermer=Twice\r\n");
    Start("out=Synth");
    ASSERT_TRUE(main_);
    const auto texts = ChildTexts(main_);
    EXPECT_TRUE(Has(texts, L"Ton:"));
    EXPECT_FALSE(Has(texts, L"Key:"));
    EXPECT_TRUE(Has(texts, L"Speed:")); // no translation: unchanged
    EXPECT_TRUE(WaitWindow(L"Reglages", false)); // the options window, hidden
    PostMessageW(main_, WM_SYSCOMMAND, 0xA1, 0);
    HWND about = WaitWindow(L"A propos");
    ASSERT_TRUE(about);
    EXPECT_TRUE(Has(ChildTexts(about), L"Fermer"));
    EXPECT_EQ(Close(), 0u);
}

TEST_F(Korvanel, ASongNamedOnTheCommandLineOpensAndSpacePlaysIt)
{
    // Format 1, 96 pulses per quarter note: a conductor with a tempo of 240 and a name, then two
    // notes one after the other.
    const std::string conductor = std::string("\x00\xFF\x03\x01" "C" "\x00\xFF\x51\x03\x03\xD0\x90" "\x01\xFF\x2F\x00", 16);
    const std::string notes = std::string("\x00\x90\x3C\x64" "\x30\x80\x3C\x40" "\x00\x90\x40\x64" "\x30\x80\x40\x40" "\x01\xFF\x2F\x00", 20);
    const auto chunk = [](const std::string& body) {
        const auto n = static_cast<std::uint32_t>(body.size());
        return std::string("MTrk") + char(n >> 24) + char((n >> 16) & 0xFF) + char((n >> 8) & 0xFF) + char(n & 0xFF) + body;
    };
    WriteFile(folder_ + L"song.mid", std::string("MThd\0\0\0\6\0\1\0\2\0\x60", 14) + chunk(conductor) + chunk(notes));
    Start("out=Synth", folder_ + L"song.mid");
    ASSERT_TRUE(main_);
    EXPECT_TRUE(Has(ChildTexts(main_), L"song.mid"));
    PostMessageW(main_, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(main_, WM_KEYUP, VK_SPACE, 0xC0000001);
    const std::string lastOff = "midiOutShortMsg(0, $00404080";
    for (int i = 0; i < 200; ++i) {
        const auto shorts = LogLines("midiOutShortMsg(");
        if (std::any_of(shorts.begin(), shorts.end(), [&](const std::string& l) { return l.rfind(lastOff, 0) == 0; })) break;
        Sleep(50);
    }
    // The song's notes in order, each once; the tempo and the name reached no output.
    std::vector<std::string> played;
    for (const std::string& line : LogLines("midiOutShortMsg(")) {
        const std::string message = line.substr(line.find('$') + 1, 8);
        if (message[6] == '8' || message[6] == '9') played.push_back(message);
    }
    EXPECT_EQ(played, (std::vector<std::string>{"00643C90", "00403C80", "00644090", "00404080"}));
    EXPECT_TRUE(LogLines("midiOutLongMsg(").empty());
    EXPECT_EQ(Close(), 0u);
    EXPECT_NE(Settings().find("LastFile=song.mid\r\n"), std::string::npos) << Settings();
}

// A last layout that cannot be loaded is reported, and the program starts with the built-in
// layout; it forgets the file, so the next start is quiet.
TEST_F(Korvanel, ABadLastLayoutIsReportedOnceAndTheProgramStartsAnyway)
{
    WriteFile(folder_ + L"Korvanel.ini", "[Common]\r\nLastLayout=bad.kbl\r\n");
    WriteFile(folder_ + L"bad.kbl", "KBL");
    Launch("out=Synth");
    HWND box = WaitWindow(L"VELDRANE", true, true);
    ASSERT_TRUE(box);
    wchar_t message[512] = {};
    GetDlgItemTextW(box, 0xFFFF, message, 512);
    EXPECT_NE(std::wstring(message).find(L"bad.kbl"), std::wstring::npos) << std::string(message, message + wcslen(message));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    main_ = WaitWindow(L"VELDRANE");
    ASSERT_TRUE(main_);
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_EQ(Close(), 0u);
    EXPECT_NE(Settings().find("LastLayout=\r\n"), std::string::npos) << Settings();

    Start("out=Synth");
    ASSERT_TRUE(main_);
    // A box would have come before the main window: the layout is loaded while the windows are made.
    FindArgs args{process_.dwProcessId, L"", true};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&args));
    EXPECT_FALSE(args.found);
    EXPECT_EQ(Close(), 0u);
}

TEST_F(Korvanel, TheInstrumentPlayedFromOutsideReachesTheOutputs)
{
    const std::wstring feed = folder_ + L"feed.txt";
    WriteFile(feed, "");
    std::string feedName;
    for (wchar_t c : feed) feedName += static_cast<char>(c);
    Start("in=Keys;out=Synth;feed=" + feedName);
    ASSERT_TRUE(main_);
    // Keys played on the instrument: each line is one message of input device 0.
    std::ofstream(feed.c_str(), std::ios::app) << "0 91 3C 64\n0 81 3C 40\n";
    std::vector<std::string> played;
    for (int i = 0; i < 400 && played.size() < 2; ++i) {
        played.clear();
        for (const std::string& line : LogLines("midiOutShortMsg(0, $"))
            if (line.find("3C9") != std::string::npos || line.find("3C8") != std::string::npos) played.push_back(line.substr(0, line.find(')') + 1));
        Sleep(50);
    }
    EXPECT_EQ(played, (std::vector<std::string>{"midiOutShortMsg(0, $00643C91)", "midiOutShortMsg(0, $00403C81)"}));
    EXPECT_EQ(Close(), 0u);
}

} // namespace
