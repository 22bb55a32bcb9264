#include "installer/wizard/win/RichEdit.h"

#include "installer/text/ByteStringTestSupport.h"

#include <gtest/gtest.h>
#include <richedit.h>

#include <string>

namespace {

class RichEditWindow {
public:
    RichEditWindow()
    {
        library_ = LoadLibraryA("riched20.dll");
        window_ = CreateWindowExA(0, RICHEDIT_CLASSA, "", WS_POPUP | ES_MULTILINE, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    }
    ~RichEditWindow()
    {
        if (window_)
            DestroyWindow(window_);
        if (library_)
            FreeLibrary(library_);
    }
    HWND get() const { return window_; }
    std::string text() const
    {
        std::string buffer(static_cast<std::size_t>(GetWindowTextLengthA(window_)) + 1, '\0');
        buffer.resize(static_cast<std::size_t>(GetWindowTextA(window_, buffer.data(), static_cast<int>(buffer.size()))));
        return buffer;
    }

private:
    HMODULE library_;
    HWND window_;
};

TEST(RichEditTest, StreamsRtfIn)
{
    RichEditWindow edit;
    ASSERT_NE(edit.get(), nullptr);
    streamTextToRichEdit(edit.get(), ByteString("{\\rtf1\\ansi License {\\b terms}\\par Second line}"));
    const std::string text = edit.text();
    EXPECT_NE(text.find("License terms"), std::string::npos) << text;
    EXPECT_NE(text.find("Second line"), std::string::npos) << text;
    EXPECT_EQ(text.find("rtf1"), std::string::npos) << text;
}

TEST(RichEditTest, StreamsTextLongerThanOneRequest)
{
    RichEditWindow edit;
    std::string rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < 2000; ++i)
        rtf += "word" + std::to_string(i) + " ";
    rtf += "END}";
    streamTextToRichEdit(edit.get(), bytes(rtf));
    const std::string text = edit.text();
    EXPECT_NE(text.find("word1999 END"), std::string::npos);
}

TEST(RichEditTest, PrintingEndsWhenNoPrinterIsChosen)
{
    RichEditWindow edit;
    const PrinterChooser previous = setPrinterChooser([](HWND) -> HDC { return nullptr; });
    EXPECT_FALSE(printRichEdit(nullptr, edit.get(), "License"));
    // A device that cannot start a document.
    setPrinterChooser([](HWND) -> HDC { return CreateCompatibleDC(nullptr); });
    EXPECT_FALSE(printRichEdit(nullptr, edit.get(), "License"));
    setPrinterChooser(previous);
}

} // namespace
