#pragma once
// A package written by the builder into a fresh folder as "setup.exe" (with its volume files),
// made the installer's package, and the extraction's hooks replaced by recorders. Everything
// global that a test changes is put back at the end.
#include "installer/package/ExtractionHooks.h"
#include "installer/package/MemberExtraction.h"
#include "installer/package/NextVolumePrompt.h"
#include "installer/package/PackageLocate.h"
#include "installer/package/VolumeState.h"
#include "installer/state/InstallerShutdown.h"
#include "installer/state/InstallerState.h"

#include "PackageBuilder.h"
#include "installer/text/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

// What the end-installer hook throws in tests.
struct InstallerEnded {};

class ExtractionTest : public ::testing::Test {
protected:
    ExtractionTest()
    {
        recorder() = this;
        previousQuestion_ = setExtractionQuestion(&question);
        previousProgress_ = setExtractionProgress(&progress);
        previousPrompt_ = setNextVolumePrompt(&prompt);
        previousEnd_ = setEndInstallerHandler(&ended);
        gLanguageTexts[154] = ByteString("Decoding error: %s");
        gLanguageTexts[161] = ByteString("Read error");
        gLanguageTexts[162] = ByteString("Write error");
    }
    ~ExtractionTest() override
    {
        setExtractionQuestion(previousQuestion_);
        setExtractionProgress(previousProgress_);
        setNextVolumePrompt(previousPrompt_);
        setEndInstallerHandler(previousEnd_);
        for (std::size_t i : {154, 161, 162})
            gLanguageTexts[i] = ByteString();
        gFlags = InstallerFlags();
        gExtractionCounters = ExtractionCounters();
        gVolumeState = VolumeState();
        gPackagePath = ByteString();
        gPackageHeader = ByteString();
        recorder() = nullptr;
    }

    // Writes the package and loads its header; returns the installer's path.
    std::string writePackage(const nlohmann::json& description)
    {
        const std::string path = folder_.file("setup.exe");
        writePackageFiles(path, buildPackage(Bytes(128, 0x90), description));
        gPackagePath = ByteString(path.c_str());
        EXPECT_EQ(locatePackage(), kLocateOk);
        return path;
    }
    std::uint32_t field(std::uint32_t offset) const { return gPackageHeader.readBE32(offset); }
    std::string file(const std::string& name) const { return folder_.file(name); }

    static Bytes fileBytes(const std::string& path) { return readWholeFile(path); }
    // Text-like content that compresses but spans several 0x8000-byte blocks.
    static Bytes sampleContent(std::size_t size, std::uint32_t seed = 1)
    {
        Bytes bytes(size);
        std::uint32_t state = seed;
        for (auto& b : bytes) {
            state = state * 1103515245u + 12345u;
            b = static_cast<std::uint8_t>("abcdefgh \n"[(state >> 16) % 10]);
        }
        return bytes;
    }
    static std::string hex(const Bytes& bytes)
    {
        static const char digits[] = "0123456789abcdef";
        std::string out;
        for (auto b : bytes) {
            out += digits[b >> 4];
            out += digits[b & 15];
        }
        return out;
    }

    std::vector<std::string> questions;
    bool answerYes = true;
    std::vector<std::uint32_t> progressReports;
    std::vector<std::pair<std::string, std::int32_t>> prompts;
    // What the prompt does: 0 = Cancel, else OK after setting the name to promptAnswer when given.
    int promptResult = 0;
    std::string promptAnswer;
    int endCalls = 0;
    // A file the end-installer hook tries to delete: it must no longer be held open.
    std::string deleteWhenEnded;
    bool deletedWhenEnded = false;

private:
    static ExtractionTest*& recorder()
    {
        static ExtractionTest* current = nullptr;
        return current;
    }
    static bool question(const char* text)
    {
        recorder()->questions.emplace_back(text ? text : "");
        return recorder()->answerYes;
    }
    static void progress(std::uint32_t bytes) { recorder()->progressReports.push_back(bytes); }
    static int prompt(ByteString& name, std::int32_t number)
    {
        ExtractionTest& self = *recorder();
        self.prompts.emplace_back(name.cStr(), number);
        if (self.promptResult && !self.promptAnswer.empty())
            name = ByteString(self.promptAnswer.c_str());
        return self.promptResult;
    }
    static void ended()
    {
        ExtractionTest& self = *recorder();
        ++self.endCalls;
        // As the program's shutdown does before it rolls back.
        closeExtractionOutput();
        if (!self.deleteWhenEnded.empty()) {
            std::error_code error;
            self.deletedWhenEnded = std::filesystem::remove(self.deleteWhenEnded, error) && !error;
        }
        throw InstallerEnded{};
    }

    TempFolder folder_;
    ExtractionQuestion previousQuestion_;
    ExtractionProgress previousProgress_;
    NextVolumePrompt previousPrompt_;
    EndInstallerHandler previousEnd_;
};
