#pragma once
// Texts the installation, finish and custom pages set into their windows: language texts by
// number, the caption rule and the common button texts.
#include <windows.h>

#include <cstddef>

// Sets language text n into item id of page (nothing when the page has no such item).
void setItemLanguageText(HWND page, int id, std::size_t n);
// Sets the background window's title as the page's caption.
void setCaptionFromBackgroundTitle(HWND page);
// Back, Next and Cancel read their language texts.
void setCommonButtonTexts(HWND page);

constexpr int kNextButton = 1;
constexpr int kCancelButton = 2;
constexpr int kBackButton = 3;
constexpr std::size_t kBackText = 0;
constexpr std::size_t kCancelText = 2;
constexpr std::size_t kInstallText = 3;
constexpr std::size_t kNextText = 4;
constexpr std::size_t kFinishText = 145;
