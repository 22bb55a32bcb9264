#pragma once
// The values a page's controls take from their bound variables when the page is built, and give
// back to them when it is closed.
#include "installer/state/InstallerVariable.h"
#include "installer/text/ByteString.h"

#include <cstdint>

// What a control shows of its variable.
struct BindingDisplay {
    enum Kind { Nothing, Check, Text, Selection } kind = Nothing;
    ByteString text;            // Text: edits and IP addresses
    std::int32_t selection = -1; // Selection: list and combo boxes
};

// The display of a bound variable (already evaluated) in a control of that type. Check boxes
// and radio buttons are only ever checked, never unchecked.
BindingDisplay bindingDisplay(std::int32_t controlType, const InstallerVariable& variable);

// A control's state as the page reads it when closing.
struct ControlState {
    std::int32_t checkState = 0; // BM_GETCHECK
    ByteString text;             // edit text (UTF-8) or the dotted IP address
    std::int32_t selection = -1; // LB_GETCURSEL / CB_GETCURSEL
};

struct BindingValue {
    ByteString text;
    std::int32_t value = 0;
};

// The value a closed page stores for a control of that type.
BindingValue bindingValueOf(std::int32_t controlType, const ControlState& state);

// Replaces the variable of that exact name by a known integer variable with the value, or appends
// one. Entries keep their address: the plug-in may hold the old texts, so the entry is updated
// in place.
void storeBoundVariable(const ByteString& name, const BindingValue& value);
