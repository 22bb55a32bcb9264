#pragma once
// The package directory ("<SetupDir>") and the resource directory ("<ResourceDir>") of the
// run; the resource directory is not created here.
void setupResourceDir(bool runFromFolder);
