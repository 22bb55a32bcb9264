#pragma once
// Variables expanded in the product's texts, file-name-safe copies of its id and name, and the
// size totals of a minimal installation from the package header.
void expandProductStrings();
