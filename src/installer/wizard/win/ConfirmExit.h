#pragma once
// Asks the user whether to leave the installer; true unless the answer is No.
bool confirmExit();
