#pragma once
// The interactive run: the main window with its background and the dialog image before the first
// page, the services the pages use, and the wizard's message loop.

// Makes the main window, its background picture and the dialog image (each failure warns and the
// installer goes on); the window is shown later, once the plug-in has started. false when no
// main window could be made.
bool prepareWizardWindows();
// Shows the main window as the background flags ask.
void showMainWindow();
// Lets the pages reach the navigation, the exit question and the installer's end.
void connectWizard();
// Runs the wizard from its first page to its end; true when an installation ran to its end.
bool runWizard();
