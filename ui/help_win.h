// The program's help: HTML Help topics in LumivexaSE.chm beside the program,
// shown through hhctrl.ocx (loaded when first asked for). When a Windows Help
// file LumivexaSE.hlp lies beside the program instead, its WinHelp calls are used.
// Both files are found beside the program, never in the current directory (the
// disc's folder once a disc is open).
#pragma once
#include <windows.h>

#include <string>

#include "ui/help_topics.h"

// Pages of the help file that windows open directly (contents of the help for
// that window); dialogs open their topics by context id.
constexpr char kBrowseHelpPage[] = "browse-window.html";
constexpr char kViewerHelpPage[] = "viewer-window.html";
constexpr char kPropertiesHelpPage[] = "properties.html";
constexpr char kPrintSetupHelpPage[] = "print-setup.html";

// The folder of the program, with a trailing backslash.
std::string ProgramFolder();

// The help contents, opened at page; false (after telling the user) when no
// help could be shown.
bool ShowHelpContents(HWND owner, const char* page);
// The topic with this context id (the contents for an id the help does not
// know); false (after telling the user) when it could not be shown.
bool ShowHelpTopic(HWND owner, DWORD contextId);

// F1 or the context menu on a control of a dialog: opens the control's topic.
// helpIds pairs control ids with context ids and ends with 0 and the topic of
// the whole window, which a control without its own opens (0: none). TRUE when
// the message was one of the two.
bool HandleControlHelp(UINT message, WPARAM wParam, LPARAM lParam, const DWORD* helpIds);

// Closes the help windows this process opened (before it ends).
void CloseHelp();
