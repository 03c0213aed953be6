// The about box: product line, version, picture and a blinking program icon.
#pragma once
#include <windows.h>

#include <functional>

// Modal, centred on owner. visitHomePage runs for the "Visit the Lumivexa Home
// Page" button. Returns the button that closed it, or -1 when it could not be shown.
INT_PTR ShowAboutBox(HWND owner, std::function<void()> visitHomePage);

// Milliseconds until the next blink: the main icon stays up to 7 s, the
// alternate one at most a fifth of a second. random is 0..32767.
unsigned NextBlinkDelay(bool showingAlternate, int random);
