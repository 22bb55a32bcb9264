#pragma once
// The rules every standard page follows: Back disabled on the first page, the caption, the
// button texts, and Next, Back and Cancel. A page type adds its own controls and decides whether
// it may be left.
#include "installer/wizard/win/TemplatePage.h"

#include <cstddef>
#include <cstdint>

// A page whose caption the page type sets itself.
constexpr std::size_t kOwnCaption = ~std::size_t(0);

class StandardPage : public TemplatePage {
public:
    // captionText: the language text of the caption, or kOwnCaption.
    explicit StandardPage(std::size_t captionText) : captionText_(captionText) {}

    bool onInitDialog(HWND window, WPARAM wParam, LPARAM lParam) override;
    bool onCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    // The page type's own set-up, after the common one.
    virtual void initPage() {}
    // A command of the page's own (any notification code); true when it took it.
    virtual bool pageCommand(std::int32_t id, std::int32_t code, LPARAM lParam);
    // Next: false keeps the page.
    virtual bool leaveForward() { return true; }
    virtual void leaveBack() {}
    // Cancel confirmed, before the page closes.
    virtual void leaveCancelled() {}

    HWND item(std::int32_t id) const;
    void setItemText(std::int32_t id, const ByteString& utf8) const;
    void setItemLanguageText(std::int32_t id, std::size_t text) const;
    void goForward();
    void goBackward();

private:
    std::size_t captionText_;
};

// Language text n formatted with one or two texts for its "%s".
ByteString formattedLanguageText(std::size_t n, const ByteString& first, const ByteString* second = nullptr);
