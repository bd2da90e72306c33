// The main window's status bar: four panes, written with UTF-16 texts.
#pragma once

#include <windows.h>

#include <string_view>

#include "terminal/model/roles.h"

// Makes the status bar at the bottom of the main window; nullptr on failure.
HWND CreateStatusBar(HWND mainWindow);

// Sets the four pane edges for the main window's current client width.
void LayoutStatusPanes(HWND mainWindow);

void SetPaneText(int pane, std::string_view text, TextCoding coding = TextCoding::Utf8);
