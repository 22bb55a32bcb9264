#pragma once
// The names of the component variables ("<II_...>") and the saved choices that preset the
// components tree.
#include "installer/state/InstallerState.h"
#include "installer/text/ByteString.h"

#include <cstddef>
#include <optional>
#include <vector>

// A shown text's part of a key: the text without the " (size)" its last "(" opens; the whole
// text when it has no "(".
ByteString componentKeyPart(const ByteString& shownText);
// The key a component is saved under: the key parts of its chain of shown texts, top level first.
ByteString savedComponentKey(const std::vector<ByteString>& shownTextsFromTop);
// The key looked up when the tree is filled: the parent's key part (none for the top level) and
// the component's name.
ByteString presetComponentKey(const ByteString* parentShownText, const ByteString& name);
// The check state a saved choice gives the item at this place in the tree (1 checked, 0 not, 2
// fixed); none when no choice was saved for that place.
std::optional<std::int32_t> savedComponentState(const std::vector<ComponentChoice>& choices, std::size_t place,
                                                bool fixed);
