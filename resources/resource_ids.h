// Numeric ids of the program's resources (shared by the .rc script and the code).
#pragma once

#define IDI_MAIN 107       // main icon: browse window class icon
#define IDI_ALTERNATE 108  // alternate icon: second frame of the about box animation
