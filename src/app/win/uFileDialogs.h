#pragma once
// The open and save dialogs of the main window, behind a seam tests replace: a dialog under a
// test would wait for a user.
#include <functional>
#include <optional>
#include <string>

namespace kv {

struct TFileDialogRequest {
    bool Save = false;
    // Pairs of description and pattern separated by "|", as "Midi Files(*.mid)|*.mid".
    std::string Filter;
    std::string DefaultExt; // ".mid"
    std::string FileName;   // the name the dialog starts with
};

// The chosen file's name, or nothing when the dialog was cancelled.
using TFileDialog = std::function<std::optional<std::string>(const TFileDialogRequest& Request)>;
TFileDialog& FileDialog();

} // namespace kv
