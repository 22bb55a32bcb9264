#pragma once
// Whether the user may act as an administrator: always on the Windows 9x family, otherwise an
// access check of the thread's (or process's) token against the Administrators group.
#include <optional>

bool isUserAdmin();
// Tests fix the answer (a non-administrator user cannot be shown under Wine); nullopt asks the system.
void setUserAdminAnswer(std::optional<bool> answer);
