#pragma once
// Template push buttons: image buttons drawn from their strips, and the action codes of a click.
#include "installer/wizard/win/TemplatePage.h"

#include <windows.h>

// Draws one image button from a draw-item record; 1.
LRESULT drawImageButton(TemplatePage& page, TemplateControl& control, const DRAWITEMSTRUCT& item);
// Redraws an image button outside WM_DRAWITEM, with or without its hover frame.
void redrawImageButton(TemplatePage& page, TemplateControl& control, bool hover);
// Runs the action of the template push button that sent WM_COMMAND; handled tells whether it had
// one. Returns 0.
LRESULT runButtonAction(TemplatePage& page, WPARAM wParam, LPARAM lParam, bool& handled);
