// Numeric ids of the program's resources (shared by the .rc script and the code).
#pragma once

#define IDI_MAIN 107       // main icon: browse window class icon
#define IDI_ALTERNATE 108  // alternate icon: second frame of the about box animation

// ---- Export option dialogs and the progress window (export_dialogs.rc) ----
#define IDD_PROGRESS 503             // progress window
#define IDC_PROGRESS_TEXT 507        // its text line
#define IDC_PROGRESS_BAR 520         // its progress bar

#define IDC_RESET_ALL 3              // "Reset all" in both option dialogs
#define IDC_SAVE_AS_DEFAULTS 530     // "Save these settings as the defaults", both dialogs

#define IDD_JPEG_OPTIONS 507
#define IDC_JPEG_QUALITY_SLIDER 522
#define IDC_JPEG_QUALITY 523         // quality field, buddy of the spin
#define IDC_JPEG_QUALITY_SPIN 524
#define IDC_JPEG_OPTIMIZE 525
#define IDC_JPEG_PROGRESSIVE 526
#define IDC_JPEG_SAMPLING 527
#define IDC_JPEG_SMOOTHING 528       // smoothing field, buddy of the spin
#define IDC_JPEG_SMOOTHING_SPIN 529

#define IDD_TIFF_OPTIONS 511
#define IDC_TIFF_NONE 540            // compression buttons 540..545 in index order
#define IDC_TIFF_CCITT3 541
#define IDC_TIFF_CCITT4 542
#define IDC_TIFF_LZW 543
#define IDC_TIFF_DEFLATE 544
#define IDC_TIFF_JPEG 545
#define IDC_TIFF_DPI_X 546
#define IDC_TIFF_DPI_Y 547

#define IDS_SAMPLING_NONE 6400       // "YUV 111 (None)"
#define IDS_SAMPLING_DEFAULT 6401    // "YUV 122 (Default)"
// ---- end of export option dialogs ----
