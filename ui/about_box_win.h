// The about box (product line, version, picture and a blinking program icon)
// and the program's web pages; the browse window and the viewers share them.
#pragma once
#include <windows.h>

// Modal, centred on owner; its "Visit the Lumivexa Home Page" button opens the
// product page. Returns the button that closed it, or -1 when it could not be shown.
INT_PTR ShowAboutBox(HWND owner);

// Opens the web address of string addressId (the maker's or the product's page)
// with the shell; when that fails, the system's error text under the caption
// "Could not start web browser.".
void OpenWebPage(HWND owner, UINT addressId);

// Milliseconds until the next blink: the main icon stays up to 7 s, the
// alternate one at most a fifth of a second. random is 0..32767.
unsigned NextBlinkDelay(bool showingAlternate, int random);
